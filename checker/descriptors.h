// The standard descriptors of a checker's process, made safe before any file is opened.
#pragma once

namespace regs {

// What mending the standard descriptors found.
struct StandardDescriptors {
  bool failed = false;                     // /dev/null could not be opened
  bool closed[3] = {false, false, false};  // by descriptor: 0, 1, 2
  // Whether what is read from, or written to, the descriptor reaches nobody.
  bool lost(int fd) const { return failed || closed[fd]; }
  bool input_lost() const { return lost(0); }
  bool output_lost() const { return lost(1); }
};

// Opens /dev/null onto each of the descriptors 0, 1 and 2 that is closed, so
// that no file of the program takes its place, and says which were closed.
StandardDescriptors reopen_standard_descriptors();

}  // namespace regs
