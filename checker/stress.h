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
// registers used at line 3", "time limit: more than 2 s"; nothing when it was
// accepted at the least cost.
std::string failure_words(const Judgement& failure);

// Whether two failures are the same: of one verdict and fault kind, with the
// same signal or status.
bool same_way(const Judgement& a, const Judgement& b);

// Shrinks a task on which `fails` holds to a smaller one on which it still
// holds, by edits that each keep the task valid: a subtree cut off its parent
// (the parent a leaf when no child is left), an inner node made a leaf, a
// node replaced by its children (a chain merged), then N, C_l, C_s and the
// costs each lowered (the costs toward 0). Edits are tried on many nodes at
// a time first, then on fewer, down to one, in pre-order; the passes repeat
// until none succeeds. The result has no more nodes than the task, and N,
// C_l, C_s and each cost no farther from their targets; the same `fails`
// gives the same result. `fails` is only called on valid tasks.
Task shrink(Task task, const std::function<bool(const Task&)>& fails);

// The brannik-gen call that makes the plan's test.
std::string gen_call(const TaskPlan& plan);

// The search's test number t (from 0), in the order that brannik-stress.1 describes.
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
// against solve()'s answer (judge_run): accepted only at the least cost; an
// answer cheaper than the solver's is the jury's fault. A time limit is run
// again, and the second run's verdict stands. Each run is counted in `runs`.
// Returns 1 with the judgement, or 0 with the reason in err (of size
// ErrSize) when the command cannot be started.
int test_once(const std::vector<std::string>& command, const std::string& text, double time_limit,
              Judgement& failure, long long& runs, char* err);

// Runs the command on the search's tests in order (test_once) until one fails
// or the budget is spent. Returns 1 with the search, or 0 with the reason in
// err (of size ErrSize) when the command cannot be started.
int find_failure(const std::vector<std::string>& command, const StressOptions& options, Search& search,
                 char* err);

// Shrinks the search's failing test with shrink() while the command fails on
// it in the same way (test_once and same_way). Returns the smallest test;
// `verdict` gets the failure on it, `runs` counts the runs.
Task shrink_failure(const std::vector<std::string>& command, const Search& search, double time_limit,
                    Judgement& verdict, long long& runs);

}  // namespace regs
