// The coverage plan of the register task: what a jury demands that its tests
// reach, row by row, each row a few conditions on a test's measures.
#pragma once

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "regs.h"
#include "replay.h"

namespace regs {

// What is measured on a test, from its task and the jury's answer. A measure
// takes one value on a test (N), or one a node (cost), or a count of nodes.
enum class Measure {
  N,
  C_l,
  C_s,
  Price,     // C_l + C_s: what a stored result costs, beyond 32 bits at the largest
  Cost,      // every inner node's cost
  Children,  // every inner node's K
  Nodes,
  Levels,    // the root's level is 1
  Full,      // nodes with K = N
  SameNeed,  // nodes of two children or more, all inner and of one need
  Tie,       // nodes with two inner children of one need
  Trap,      // nodes whose subtree needs no store in its best order, and one in its worst
  Stores,    // the jury's answer's stored results
  Total,     // its total cost
  Peak,      // the most registers it holds at once, the operands of a step loaded
  Spare,     // N - peak
  Count
};

// The measures' names in the plan, in the order of Measure.
inline constexpr const char* MeasureNames[] = {"N",      "C_l",    "C_s",  "price",     "cost", "children",
                                               "nodes",  "levels", "full", "same-need", "tie",  "trap",
                                               "stores", "total",  "peak", "spare"};
static_assert(std::size(MeasureNames) == static_cast<std::size_t>(Measure::Count));

// A need: the fewest registers that evaluate a subtree with no store. A leaf
// child takes a register only at its parent's step; the j-th inner child held
// (from 0) is evaluated while j siblings hold a register each. So a node of K
// children whose inner children need n_0 >= n_1 >= ... needs
// max(K, max_j n_j + j) in that order, its best; its worst is the same in
// increasing order of need.

// The values of each measure on a test, sorted, each once.
struct Reach {
  std::vector<long long> values[static_cast<int>(Measure::Count)];
  const std::vector<long long>& operator[](Measure m) const { return values[static_cast<int>(m)]; }
  std::vector<long long>& operator[](Measure m) { return values[static_cast<int>(m)]; }
};

// The measures of the task that read_task left in memory (all but the answer's).
void measure_task(Reach& reach);

// The measures of the jury's answer, from the trace of its accepted replay
// (replay_answer) and its total.
void measure_answer(const Trace& trace, long long total, Reach& reach);

// "measure=value" or "measure=low..high", either bound left out for none.
struct Condition {
  Measure measure;
  long long low, high;
};

// A row of the plan: a test reaches it when each condition holds for some
// value of its measure on the test.
struct PlanRow {
  int line = 0;
  std::string conditions;  // as written: "N=11..99 stores=0"
  std::vector<Condition> parsed;
  std::string purpose;      // what the row is there for, for a person
  std::string unreachable;  // why no test can reach it; empty when one can
};

bool reaches(const PlanRow& row, const Reach& reach);

// The plan's text: a row a line, "<conditions> | <purpose>", or with
// "| unreachable: <reason>" after; conditions separated by blanks; lines
// that start with # and blank lines left out. Returns 1 with the rows in
// plan; 0 with the first fault and its line in err (of size ErrSize).
int read_plan(std::string_view text, std::vector<PlanRow>& plan, char* err);

}  // namespace regs
