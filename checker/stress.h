// The search for a test on which a contestant's solution of the register task
// fails, and the shrinking of that test while it still fails in the same way.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "args.h"
#include "judge.h"
#include "task.h"
#include "task_gen.h"

namespace regs {

// What is wrong with a run on a test, for a person: "rejected: too many
// registers used at line 3", "dearer: total cost 5, the least is 3", "time
// limit: more than 2 s"; nothing when it was accepted at the least cost.
std::string failure_words(const Judgement& failure);

// Whether two failures are the same: of one verdict and fault kind, with the
// same signal or status.
bool same_way(const Judgement& a, const Judgement& b);

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

// How a search went: the tests it ran, and the first that failed, if any.
struct Search {
  std::uint64_t tests = 0;
  double seconds = 0;
  std::optional<TaskPlan> plan;  // the failing test's plan
  Judgement failure;             // what went wrong on it
  Task task;                     // the failing test
};

// Runs the command on the test `text` (run_solution) and judges the run
// against solve()'s answer (judge_run), its peak resident memory limited to
// memory_mib: accepted only at the least cost; an answer cheaper than the
// solver's is the jury's fault. A time limit on which the program spent less
// than 98% of the limit on the processor (others' load may have held it up)
// is run again, and the second run's verdict stands. Each run is counted in
// `runs`. Returns 1 with the judgement, or 0 with the reason in err (of size
// ErrSize) when the command cannot be started.
int test_once(const std::vector<std::string>& command, const std::string& text, double time_limit,
              long memory_mib, Judgement& failure, long long& runs, char* err);

// Runs the command on the search's tests in order (test_once) until one fails
// or the budget is spent. Returns 1 with the search, or 0 with the reason in
// err (of size ErrSize) when the command cannot be started.
int find_failure(const std::vector<std::string>& command, const StressOptions& options, Search& search,
                 char* err);

// Shrinks the search's failing test with shrink() while the command fails on
// it in the same way (test_once and same_way). Returns the smallest test;
// `verdict` gets the failure on it, `runs` counts the runs.
Task shrink_failure(const std::vector<std::string>& command, const Search& search, double time_limit,
                    long memory_mib, Judgement& verdict, long long& runs);

}  // namespace regs
