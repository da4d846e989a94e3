// The exit statuses of the checker family's programs, each named once. Every
// program speaks the protocol of whoever calls it, so a value can have several
// names; a name never has two values.
#pragma once

namespace regs {

// brannik, and the programs that a person runs beside it (brannik-solve,
// brannik-gen, brannik-trace): done; the task input or the call cannot be
// used; not done (not judged, or what was asked could not be written). None
// of them is a verdict on an answer.
enum FamilyStatus { Done = 0, Unusable = 1, NotDone = 2 };

// brannik-stress: nothing failed (Done), a failing test found and written, or
// no search (NotDone).
enum StressStatus { FoundFailure = 1 };

// brannik-mutants: no hole in the tests (Done), a mutant that the tests
// accept and the stress search breaks, or nothing judged (NotDone).
enum MutantsStatus { MutantsHoles = 1 };

// brannik-report: every submission gets the verdict of its folder and the
// coverage plan is met (Done), one does not or a row of the plan is unmet, or
// no report (NotDone).
enum ReportStatus { OffVerdict = 1, PlanUnmet = 1 };

// Kattis-format validators (brannik-kattis, brannik-validate): an answer or a
// task accepted, rejected, or not judged at all.
enum KattisStatus { KattisAccepted = 42, KattisRejected = 43, KattisError = 1 };

// CMS's checker (brannik-cms): the score is written, or it is not.
enum CmsStatus { CmsScored = 0, CmsError = 1 };

// testlib's checkers (brannik-testlib); points: part of the test's score.
enum TestlibStatus {
  TestlibOk = 0,
  TestlibWrongAnswer = 1,
  TestlibPresentationError = 2,
  TestlibFail = 3,
  TestlibPoints = 7
};

}  // namespace regs
