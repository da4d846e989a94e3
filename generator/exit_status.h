// The exit statuses of the generator family's programs, each named once. A
// failed file operation ends a run with its I/O error number instead (io.h).
#pragma once

namespace quillot {

// quillot and quillot-gen: the test is made, or an argument is refused.
inline constexpr int Done = 0;
inline constexpr int Refused = 1;

// Kattis-format validators (quillot-validate), and quillot-draw after them:
// the test is valid, or it is not.
inline constexpr int KattisAccepted = 42;
inline constexpr int KattisRejected = 43;

}  // namespace quillot
