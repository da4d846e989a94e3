// The exit statuses of the checker family's programs, each named once. Every
// program speaks the protocol of whoever calls it, so a value can have several
// names; a name never has two values.
#pragma once

namespace regs {

// brannik, and the programs that a person runs beside it (brannik-solve,
// brannik-gen, brannik-trace): done; the task input or the call cannot be
// used; not done (not judged, or what was asked could not be written). None
// of them is a verdict on an answer.
inline constexpr int Done = 0;
inline constexpr int Unusable = 1;
inline constexpr int NotDone = 2;

// Kattis-format validators (brannik-kattis, brannik-validate): an answer or a
// task accepted, rejected, or not judged at all.
inline constexpr int KattisAccepted = 42;
inline constexpr int KattisRejected = 43;
inline constexpr int KattisError = 1;

// CMS's checker (brannik-cms): the score is written, or it is not.
inline constexpr int CmsScored = 0;
inline constexpr int CmsError = 1;

// testlib's checkers (brannik-testlib).
inline constexpr int TestlibOk = 0;
inline constexpr int TestlibWrongAnswer = 1;
inline constexpr int TestlibPresentationError = 2;
inline constexpr int TestlibFail = 3;

}  // namespace regs
