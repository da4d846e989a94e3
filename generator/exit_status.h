// The exit statuses of the generator family's programs, each named once. A
// failed file operation ends a run with its I/O error number instead (io.h).
#pragma once

namespace quillot {

// quillot and quillot-gen: the test is made, or an argument is refused.
enum RunStatus { Done = 0, Refused = 1 };

// Kattis-format validators (quillot-validate), and quillot-draw after them:
// the test is valid, or it is not.
enum KattisStatus { KattisAccepted = 42, KattisRejected = 43 };

}  // namespace quillot
