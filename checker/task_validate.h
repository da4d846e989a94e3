// The strict validator of "REGS.IN": the canonical form of what brannik reads,
// so that every plain decimal reader reads the same numbers from it.
#pragma once

#include <cstdio>

namespace regs {

// Checks the stream line by line and stops at the first line with a fault of
// form or of structure: plain decimal numbers ("0", or an optional "-" and
// digits without a leading zero), single blanks between them, a line feed
// after every line, then every range and shape check of read_task, and a
// root that is not a leaf, which no answer can evaluate. Returns 1 when the
// task is valid; 0 with "line %i: <violation>" in err. It holds one line at a
// time and a table of the open nodes, whatever the stream's size.
int validate_task(std::FILE* stream, char* err);

}  // namespace regs
