// The least cost of the register task: an answer that brannik accepts and that
// no accepted answer undercuts, for the tree in memory.
#pragma once

#include <string>

#include "fault.h"
#include "regs.h"

namespace regs {

// The least-cost answer for the tree that read_task left in memory, as
// "REGS.OUT" holds it: the total on the first line, then one "node flag" step
// a line, plain decimal, every line ending with "\n". Every accepted answer
// costs the inner nodes' costs, C_l for each leaf and each stored result, and
// C_s for each stored result, so this one stores the fewest results that any
// schedule can. Returns 1 with it in answer; 0 when no answer can be
// accepted, the root being a leaf ("root node is a leaf" in err, of size
// ErrSize). The tree is only read; std::bad_alloc leaves it when memory runs
// out.
int solve(std::string& answer, char* err);

// Reads a task, solves it and frees the tree: 1 with the least answer; 0 with
// the task's fault, or RootIsLeaf when no answer can be accepted. Nothing
// stays allocated; std::bad_alloc leaves it when memory runs out.
int solve_task(LineReader& task, std::string& answer, Fault& fault);

}  // namespace regs
