// The register package's report: each submission's run on each test, judged
// as the package's output validator judges it, and the rows of the task's
// coverage plan that the tests reach.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "coverage.h"

namespace regs {

// A test of the package: the figures of its task and its least cost.
struct TestFacts {
  std::string name;  // its folder and name: "sample/1", "secret/05-chain-one-register"
  int N = 0, C_l = 0, C_s = 0;
  int nodes = 0;
  long long base = 0;   // what every answer costs before its stores: the inner nodes' costs and C_l a leaf
  long long least = 0;  // the jury's answer's total
  // The stored results of a valid answer that costs total.
  long long stores_of(long long total) const { return (total - base) / (static_cast<long long>(C_l) + C_s); }
  Reach reach;  // what the test reaches of the coverage plan's measures
};

// Reads the task at `in` and replays the jury's answer at `ans` on it into
// facts. Returns 1, or 0 with brannik's verdict line on what makes the test
// unusable in err (of size ErrSize).
int read_test(const std::string& in, const std::string& ans, TestFacts& facts, char* err);

// JE: a judging error, the jury's answer at fault; OLE: more output than a
// run's output is cut at (MaxOutput).
enum class Outcome { AC, WA, TLE, RTE, JE, OLE };

const char* outcome_name(Outcome outcome);

// The verdict a submission's folder asks of it, by the folder's name in the
// package format; none for a folder of no verdict.
std::optional<Outcome> expected_of(const std::string& folder);

// One run of a submission on a test.
struct Run {
  std::string submission;  // its folder and file: "wrong_answer/given-order.cpp"
  std::string test;
  Outcome outcome = Outcome::AC;
  double seconds = 0;
  std::string message;    // why it is not AC: the replay's reason, how the run ended
  long long stores = -1;  // the stored results of a valid answer; -1 when it is none
  long long least = 0;    // the test's least stores
};

// The run's output at `out`, judged against the test as the package's output
// validator judges it, the stores of a valid answer counted.
Run judge_output(const TestFacts& test, const std::string& in, const std::string& ans,
                 const std::string& out);

// The verdict of a submission's runs, in test order, as the judge gives it:
// that of the first run that is not AC.
Outcome verdict_of(const std::vector<Run>& runs);

// The report's tables, in Markdown. Every run, a submission's runs together
// in test order, its verdict on its first row:
std::string runs_table(const std::vector<Run>& runs);
// and every row of the coverage plan, with the tests that reach it, "none",
// or why none can.
std::string plan_table(const std::vector<PlanRow>& plan, const std::vector<TestFacts>& tests);

// The rows of the plan that fail it, for a person: a row that a test can
// reach and none does ("line 12: N=11..99 stores=1.. (a store with N from 11
// to 99) is reached by no test"), and a row marked unreachable that a test
// reaches, its reason then wrong.
std::vector<std::string> unmet_rows(const std::vector<PlanRow>& plan, const std::vector<TestFacts>& tests);

// The limit of an accepted submission's runs, which set the others' limit.
constexpr int AcceptedSeconds = 10;

// brannik-report [--plan <file>] <package-dir> <programs-dir> <memory-MiB>:
// MiB a whole number above 0; the plan's file, coverage.txt of the package's
// sources, when one is named.
struct ReportCall {
  std::string package, programs;
  long memory_mib = 0;
  std::string plan = "";  // the coverage plan's file; none when empty
};
// Returns 1 with the call, or 0 with the usage line in err (of size ErrSize).
int read_report_call(int argc, char** argv, ReportCall& call, char* err);

struct Report {
  std::vector<TestFacts> tests;   // the sample, then the secret tests, by name
  std::vector<Run> runs;          // a submission's runs together, in test order
  int seconds = AcceptedSeconds;  // the time limit of the submissions not accepted
  long memory_mib = 0;
  // The submissions that do not get their folder's verdict, for a person:
  // "wrong_answer/a.cpp gets AC, its folder asks for WA".
  std::vector<std::string> off_verdicts;
  std::vector<PlanRow> plan;  // the coverage plan, when one is checked
};

// Runs every program <programs>/<folder>/<name> (built from the package's
// submissions/<folder>/<name>.cpp) on every test of the package (read_test)
// as problemtools runs it: processor time limited, the address space to
// call.memory_mib, the stack raised to its hard limit; a wall-clock deadline
// of three times the time limit ends a run that waits rather than computes.
// The accepted folder runs first, within AcceptedSeconds; as problemtools
// sets it, the others' time limit is then five times the slowest of those
// runs, rounded, at least 1 s; the others follow by folder name. A run beyond
// the time limit is TLE, one ended by a signal or a status other than 0 RTE,
// one cut at MaxOutput OLE; otherwise its output, written to
// <programs>/output, is judged (judge_output). A submission's verdict
// (verdict_of) is compared with its folder's. Returns 1 with the report, or 0
// with the reason in err (of size ErrSize): a test that cannot be used, no
// test, a program that cannot be run.
int make_report(const ReportCall& call, Report& report, char* err);

// The report in Markdown: how the runs were made, the runs, and the plan's rows when there is a plan.
std::string report_text(const Report& report);

}  // namespace regs
