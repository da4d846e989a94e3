// A whole register task in memory, as the programs that make, edit and
// measure tasks hold it beside the checker's tree: the one shape of a task.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace regs {

// The tree in pre-order, as "REGS.IN" lists it: node i (from 0) has K[i]
// children and, when inner, the cost cost[i] (0 for a leaf).
struct Task {
  int N = 1, C_l = 1, C_s = 1;
  std::vector<int> K, cost;
  bool operator==(const Task& o) const {
    return N == o.N && C_l == o.C_l && C_s == o.C_s && K == o.K && cost == o.cost;
  }
};

// The task of a "REGS.IN" text that read_task accepts; empty (no node) when
// it does not. Leaves no tree in memory; std::bad_alloc leaves it when memory
// runs out.
Task task_of(std::string_view text);

// The task that read_task left in memory, into task: its vectors' room is
// reused, so that a task set aside for the largest allocates nothing.
void task_from_tree(Task& task);

// The canonical "REGS.IN" text of a task: plain decimal, one blank between the
// two numbers of line 2, a line feed after every line.
std::string task_text(const Task& task);

// Each node's children in order, by pre-order index.
std::vector<std::vector<int>> children_of(const Task& task);

}  // namespace regs
