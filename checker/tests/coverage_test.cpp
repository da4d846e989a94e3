// The coverage plan: each measure on small tasks, a row reached or not, and
// the plan's faults of form.
#include "coverage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regs.h"
#include "solve.h"
#include "support.h"
#include "worked_example.h"

namespace {

using support::WorkedIn;

// The measures of a task with the solver's answer as the jury's.
regs::Reach reach_of(const std::string& task) {
  regs::Reach reach;
  char err[regs::ErrSize] = "";
  support::Stream in(task);
  if (!regs::read_task(in.file, err)) return ADD_FAILURE() << err, reach;
  regs::measure_task(reach);
  std::string answer;
  regs::solve(answer, err);
  support::Stream out(answer);
  regs::Trace trace;
  long long claimed = 0, total = 0;
  EXPECT_EQ(regs::replay_answer(out.file, err, claimed, total, nullptr, &trace), 1) << err;
  regs::delete_data();
  regs::measure_answer(trace, total, reach);
  return reach;
}

// 100 registers, C_l and C_s at 2147483647; a root of ten children with the
// lowest cost, one of them an inner node with the highest cost and one leaf.
const std::string Extremes =
    "100\n2147483647 2147483647\n10\n-2147483648\n1\n2147483647\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n";
// Two registers: a root whose first child needs one register and whose second
// needs two, so the given order stores where the other stores nothing.
const std::string Trap = "2\n1 1\n2\n5\n1\n1\n0\n2\n1\n0\n0\n";
// One register, a root and its leaf: 1 - 1 costs nothing.
const std::string Pair = "1\n1 1\n1\n-1\n0\n";

TEST(Coverage, MeasuresATestAndTellsTheRowsItReaches) {
  const struct {
    const std::string& task;
    std::string row;
    bool reached;
  } table[] = {
      {WorkedIn, "N=2 C_l=1 C_s=3", true},
      {WorkedIn, "N=3..", false},
      {Extremes, "C_l=2147483647 C_s=2147483647 price=4294967294", true},
      {Extremes, "price=2147483648.. stores=1..", false},  // nothing is stored
      {Extremes, "cost=..-1 cost=1..", true},              // two values of one measure
      {Extremes, "cost=-2147483648 cost=2147483647", true},
      {Extremes, "cost=0", false},
      {WorkedIn, "children=2 nodes=7 levels=3", true},
      {Extremes, "children=1 children=10", true},
      {Extremes, "children=2..9", false},
      {WorkedIn, "full=3", true},  // K = N = 2 at each inner node
      {Extremes, "full=0", true},
      {WorkedIn, "same-need=1 tie=1", true},  // the root's children need 2 each
      {Trap, "same-need=1..", false},
      {Trap, "tie=1..", false},
      {Trap, "trap=1 stores=0", true},
      {WorkedIn, "trap=1..", false},  // even the best order stores
      {Extremes, "trap=1..", false},  // no order stores
      {WorkedIn, "stores=1 total=11", true},
      {Extremes, "total=21474836469", true},
      {Pair, "total=0 nodes=2 levels=2", true},
      {WorkedIn, "peak=2 spare=0", true},
      {Extremes, "peak=10 spare=90", true},  // nine leaves loaded beside the held child
      {Pair, "peak=1 spare=0", true},
  };
  for (const auto& row : table) {
    std::vector<regs::PlanRow> plan;
    char err[regs::ErrSize] = "";
    ASSERT_EQ(regs::read_plan(row.row + " | a row", plan, err), 1) << row.row << ": " << err;
    EXPECT_EQ(regs::reaches(plan[0], reach_of(row.task)), row.reached) << row.row;
  }
}

TEST(Coverage, ReadsAPlanAndNamesItsFaults) {
  std::vector<regs::PlanRow> plan;
  char err[regs::ErrSize];
  ASSERT_EQ(regs::read_plan("# a comment\n\nN=1 | one register\n"
                            "N=1 stores=1.. | one and a store | unreachable: a chain holds one result\n",
                            plan, err),
            1)
      << err;
  ASSERT_EQ(plan.size(), 2u);
  EXPECT_EQ(plan[0].line, 3);
  EXPECT_EQ(plan[0].purpose, "one register");
  EXPECT_EQ(plan[0].unreachable, "");
  EXPECT_EQ(plan[1].conditions, "N=1 stores=1..");
  EXPECT_EQ(plan[1].unreachable, "a chain holds one result");

  const struct {
    std::string text, message;
  } faults[] = {
      {"N=1\n", "line 1: no \"|\" before what the row is there for: N=1"},
      {"# c\nsize=3 | x\n", "line 2: no such measure: size=3 | x"},
      {"N | x\n", "line 1: no such measure: N | x"},
      {"N=3..1 | x\n", "line 1: not a value or a range of values: N=3..1 | x"},
      {"N=.. | x\n", "line 1: not a value or a range of values: N=.. | x"},
      {"N=1e3 | x\n", "line 1: not a value or a range of values: N=1e3 | x"},
      {"N= | x\n", "line 1: not a value or a range of values: N= | x"},
      {"N=1 |  \n", "line 1: nothing says what the row is there for: N=1 |"},
      {"N=1 | x | maybe\n", "line 1: a third field that is not \"unreachable: <reason>\": N=1 | x | maybe"},
      {"N=1 | x | unreachable:\n", "line 1: an unreachable row without its reason: N=1 | x | unreachable:"},
      {" | x\n", "line 1: no condition: | x"},
      {"# only comments\n\n", "the plan has no row"},
  };
  for (const auto& row : faults) {
    EXPECT_EQ(regs::read_plan(row.text, plan, err), 0) << row.text;
    EXPECT_EQ(std::string(err), row.message);
  }
  EXPECT_EQ(plan.size(), 2u);  // a plan at fault leaves the rows as they were
}

}  // namespace
