// The search for a test on which a contestant's solution of the register task
// fails, and the shrinking of that test while it still fails in the same way.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "regs.h"
#include "runner.h"
#include "task_gen.h"

namespace regs {

// A task in memory as the shrinking edits it: the tree in pre-order, as
// "REGS.IN" lists it, node i (from 0) having K[i] children and, when inner,
// the cost cost[i] (0 for a leaf).
struct Task {
  int N = 1, C_l = 1, C_s = 1;
  std::vector<int> K, cost;
  bool operator==(const Task&) const = default;
};

// The task of a "REGS.IN" text that read_task accepts; empty (no node) when
// it does not. Leaves no tree in memory.
Task task_of(const std::string& text);

// The canonical "REGS.IN" text of a task: plain decimal, one blank between the
// two numbers of line 2, a line feed after every line.
std::string task_text(const Task& task);

// What is wrong with a run on a test: its kind, and for a rejection the
// replay's fault, for a crash the signal, for a non-zero status the status,
// which another failure must match to be the same.
struct Failure {
  enum Kind { None, Rejected, Dearer, Cheaper, Crashed, ExitStatus, TimeLimit, OutputLimit, MemoryLimit };
  Kind kind = None;
  FaultKind fault = FaultKind::None;  // Rejected: the kind of the replay's fault
  int code = 0;                       // Crashed: the signal; ExitStatus: the status
  std::string verdict;                // for a person: "rejected: too many registers used at line 3"
};

// Judges a run on the task `text`, a valid one (brannik-validate accepts it):
// a time limit, the output limit, a signal, a non-zero status, or else the
// answer replayed on the tree and its total compared with the least that
// solve() finds: rejected by the replay, dearer than the least, or cheaper
// than it (the solver is wrong then); None when accepted at the least cost.
// `seconds` and `memory_mib` are the limits, for the verdict's words.
Failure judge_run(const std::string& text, const Ending& run, double seconds, long memory_mib);

// Whether two failures are the same: of one kind, with the same fault or code.
bool same_way(const Failure& a, const Failure& b);

// Shrinks a task on which `fails` holds to a smaller one on which it still
// holds, by edits that each keep the task valid. First the large cuts, each
// a halving search on its size: the nodes below a depth cut, then the nodes
// after a place in pre-order. Then a subtree cut off its parent (the parent a
// leaf when no child is left), an inner node made a leaf, a node of several
// children replaced by them, tried on many nodes at a time first, then on
// fewer, down to one, in pre-order; on a large task these keep the last
// node and its ancestors, since the search before found the task failing no
// more without it. Then each chain of one-child nodes merged, a halving search on how many
// of its nodes go. Then N, C_l, C_s and the costs each lowered (the costs
// toward 0). The passes repeat until none succeeds. A failure that needs a
// large tree so reaches it in runs that grow with the logarithm of the size.
// `slow` when a run that fails may take a whole time limit: the chunks then
// stop halving once two sizes in a row kept nothing. The result has no more nodes
// than the task, and N, C_l, C_s and each cost no farther from their targets; the same `fails` gives the same
// result. `fails` is only called on valid tasks.
Task shrink(Task task, const std::function<bool(const Task&)>& fails, bool slow = false);

// The brannik-gen call that makes the plan's test.
std::string gen_call(const TaskPlan& plan);

// The search's test number t (from 0), in the order brannik-stress(1)
// describes. Plans that generate_task refuses (a comb with N = 1) are part of
// the order, and skipped by the search.
TaskPlan search_plan(std::uint64_t t, int max_nodes, std::uint32_t first_seed);

struct StressOptions {
  std::uint32_t seed = 1;
  double budget = 60;  // seconds of searching
  int max_nodes = MaxNodes;
  double time_limit = 2;  // seconds a run
  long memory_mib = 256;  // peak resident memory a run
};

// brannik-stress [--seed=S] [--budget=SECONDS] [--max-nodes=M]
// [--time-limit=SECONDS] [--memory=MIB] [-o FILE] -- <command...>: S a seed
// (read_seed), M from 2 to MaxNodes, SECONDS a decimal such as 2 or 0.5, MIB
// from 1 to 1048576, and a command of at least its program.
struct StressCall {
  StressOptions options;
  std::string file = "stress.in";
  std::vector<std::string> command;
};
// Returns 1 with the call, or 0 with the usage line in err (of size ErrSize).
int read_stress_call(int argc, char** argv, StressCall& call, char* err);

// How a search went: the tests it ran, and the first that failed, if any.
struct Search {
  std::uint64_t tests = 0;
  double seconds = 0;
  std::optional<TaskPlan> plan;  // the failing test's plan
  Failure failure;               // what went wrong on it
  Task task;                     // the failing test
};

// Runs the command on the test `text` (run_solution) and judges the run
// (judge_run); a time limit on which the program spent less than 98% of the
// limit on the processor (others' load may have held it up) is run again, and
// the second run's verdict stands. Each run is counted in `runs`. Returns 1 with the failure, or 0
// with the reason in err (of size ErrSize) when the command cannot be started.
int test_once(const std::vector<std::string>& command, const std::string& text, double time_limit,
              long memory_mib, Failure& failure, long long& runs, char* err);

// Runs the command on the search's tests in order (test_once) until one fails
// or the budget is spent. Returns 1 with the search, or 0 with the reason in
// err (of size ErrSize) when the command cannot be started.
int find_failure(const std::vector<std::string>& command, const StressOptions& options, Search& search,
                 char* err);

// Shrinks the search's failing test with shrink() while the command fails on
// it in the same way (test_once and same_way). Returns the smallest test;
// `verdict` gets the failure on it, `runs` counts the runs.
Task shrink_failure(const std::vector<std::string>& command, const Search& search, double time_limit,
                    long memory_mib, Failure& verdict, long long& runs);

}  // namespace regs
