// The standard descriptors of a checker's process, made safe before any file is opened.
#pragma once

namespace regs {

// Opens /dev/null onto each of the descriptors 0, 1 and 2 that is closed, so that
// no file of the program takes its place. Returns the set of those that were
// closed (bit 1 << fd): what goes there now reaches nobody. -1 when /dev/null
// cannot be opened.
int reopen_standard_descriptors();

}  // namespace regs
