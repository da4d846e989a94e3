// An answer's replay shown step by step: as a text table for the jury, and the
// task's tree as an SVG picture of where the replay got to.
#pragma once

#include <string>

#include "judge.h"
#include "regs.h"

namespace regs {

// Trees of more nodes than this are not drawn: the picture would be unreadable.
constexpr int MaxDrawnNodes = 200;

// The judged answer as a table: a line with the task's parameters, a row for
// each line of the answer that the replay examined (the node, its loads, the
// operands it found held, the registers in use with the loads and after the
// step, the total after it), the line at fault marked "<-- " with the message,
// a fault after the last step in a row "end", and last brannik's verdict line.
// When the answer was not replayed (an unusable task, no memory), the verdict
// line alone.
std::string trace_table(const Judgement& j, const Trace& trace);

// The task's tree after the replay as an SVG picture, depth downwards and the
// leaves in order from the left: each inner node with its number, the line
// of its step and its state (held, stored, not evaluated, or the node of the
// step at fault), the leaves as small squares, a legend and the verdict above.
// Needs the tree recorded by a replay (Accepted or Rejected).
std::string trace_svg(const Judgement& j, const Trace& trace);

}  // namespace regs
