// The register package's report: each submission's run on each test, judged
// as the package's output validator judges it, and the task's limits that the
// tests reach.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace regs {

// A test of the package: the figures of its task and its least cost.
struct TestFacts {
  std::string name;  // its folder and name: "sample/1", "secret/05-chain-one-register"
  int N = 0, C_l = 0, C_s = 0;
  int nodes = 0, levels = 0;
  int widest = 0;                         // the most children of a node
  bool k_is_n = false;                    // a node has N children
  int lowest_cost = 0, highest_cost = 0;  // of the inner nodes
  long long base = 0;   // what every answer costs before its stores: the inner nodes' costs and C_l a leaf
  long long least = 0;  // the jury's answer's total
  // The stored results of a valid answer that costs total.
  long long stores_of(long long total) const { return (total - base) / (static_cast<long long>(C_l) + C_s); }
};

// Reads the task at `in` and replays the jury's answer at `ans` on it into
// facts. Empty, or brannik's verdict line on what makes the test unusable.
std::string read_test(const std::string& in, const std::string& ans, TestFacts& facts);

enum class Outcome { AC, WA, TLE, RTE, JE };  // JE: a judging error, the jury's answer at fault

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
// and every limit of the task, with the tests that reach it or "none".
std::string limits_table(const std::vector<TestFacts>& tests);

}  // namespace regs
