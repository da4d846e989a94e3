// The register package's report: each submission's run on each test, judged
// as the package's output validator judges it, and the rows of the task's
// coverage plan that the tests reach.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "args.h"
#include "coverage.h"
#include "judge.h"
#include "runner.h"

namespace regs {

// A test of the package: the figures of its task and its least cost.
struct TestFacts {
  std::string name;  // its folder and name: "sample/1", "secret/05-chain-one-register"
  int N = 0, C_l = 0, C_s = 0;
  int nodes = 0;
  long long base = 0;   // what every answer costs before its stores: the inner nodes' costs and C_l a leaf
  long long least = 0;  // the jury's answer's total cost
  // The stored results of a valid answer that costs total.
  long long stores_of(long long total) const { return (total - base) / (static_cast<long long>(C_l) + C_s); }
  Reach reach;  // what the test reaches of the coverage plan's measures
};

// Reads the task `in` and replays the jury's answer `ans` on it into facts.
// Returns 1, or 0 with brannik's verdict line on what makes the test
// unusable in err (of size ErrSize).
int read_test(std::string_view in, std::string_view ans, TestFacts& facts, char* err);

// A run's verdict as the judging systems name it. JE: a judging error, the
// jury's answer at fault; OLE: more output than a run's output is cut at
// (MaxOutput); MLE: over the memory limit, where a run's memory is measured.
enum class SystemVerdict { AC, WA, TLE, RTE, MLE, JE, OLE };

const char* verdict_name(SystemVerdict verdict);

// The verdict a submission's folder asks of it, by the folder's name in the
// package format; none for a folder of no verdict.
std::optional<SystemVerdict> expected_of(const std::string& folder);

// One run of a submission on a test.
struct Run {
  std::string submission;  // its folder and file: "wrong_answer/given-order.cpp"
  std::string test;
  SystemVerdict verdict = SystemVerdict::AC;
  double seconds = 0;
  std::string message;         // why it is not AC: the replay's reason, how the run ended
  long long stores = -1;       // the stored results of a valid answer; -1 when it is none
  long long least_stores = 0;  // the test's least stores
};

// A run's judgement (judge_run) as the report shows it: the verdict, why, and
// the stores of a valid answer, whatever its claim.
Run run_of(const Judgement& j, const TestFacts& test);

// The verdict of a submission's runs, in test order, as the judge gives it:
// that of the first run that is not AC.
SystemVerdict verdict_of(const std::vector<Run>& runs);

// A row of what the tests cover: the tests that do, or why none does.
struct Coverage {
  std::string what;
  std::vector<std::string> tests;
  std::string reason;
};

// Every row of the coverage plan: the row and what it is there for, with the
// tests that reach it, "none", or why none can ("unreachable: ...").
std::vector<Coverage> plan_reached(const std::vector<PlanRow>& plan, const std::vector<TestFacts>& tests);

// The rows of the plan that fail it, for a person: a row that a test can
// reach and none does ("line 12: N=11..99 stores=1.. (a store with N from 11
// to 99) is reached by no test"), and a row marked unreachable that a test
// reaches, its reason then wrong.
std::vector<std::string> unmet_rows(const std::vector<PlanRow>& plan, const std::vector<TestFacts>& tests);

// A whole file's text: 1, or 0 when it cannot be read.
int file_text(const std::string& path, std::string& text);

// A package's tests in order (the sample, then the secret tests, by name),
// with the texts of their tasks and answers, and its time limit.
struct PackageTests {
  std::vector<TestFacts> facts;
  std::vector<std::string> inputs, answers;
  double seconds = 0;
};

// Reads <package>/.timelimit and the package's tests (read_test). Returns 1
// with them, or 0 with the reason in err (of size ErrSize): no time limit, a
// test that cannot be used, no test.
int read_package(const std::string& package, PackageTests& tests, char* err);

// The limits of a submission's run in a package of the time limit `seconds`
// and that memory, as problemtools sets them (make_report).
RunLimits submission_limits(double seconds, long memory_mib);

struct Report {
  std::vector<TestFacts> tests;  // the sample, then the secret tests, by name
  std::vector<Run> runs;         // a submission's runs together, in test order
  double seconds = 0;            // the package's time limit
  long memory_mib = 0;
  // The submissions that do not get their folder's verdict, for a person:
  // "wrong_answer/a.cpp gets AC, its folder asks for WA".
  std::vector<std::string> off_verdicts;
  std::vector<PlanRow> plan;  // the coverage plan, when one is checked
};

// Runs every program <programs>/<folder>/<name> (built from the package's
// submissions/<folder>/<name>.cpp) on every test of the package (read_test)
// as problemtools runs it: processor time limited to the package's time limit
// (<package>/.timelimit), the address space to call.memory_mib, the stack
// raised to its hard limit; a wall-clock deadline of three times the time
// limit ends a run that waits rather than computes. Each run is judged once,
// in memory (judge_run, run_of), and a submission's verdict (verdict_of) is
// compared with its folder's. The accepted folder runs first, the others
// follow by folder name. Returns 1 with the report, or 0 with the reason in
// err (of size ErrSize): no time limit, a test that cannot be used, no test,
// a program that cannot be run.
int make_report(const ReportCall& call, Report& report, char* err);

// The report: how the runs were made, the grid of the runs (report_page.h)
// and the coverage plan's rows with the tests that reach them; in Markdown,
// and as a page for a browser.
std::string report_text(const Report& report);
std::string report_html(const Report& report);

}  // namespace regs
