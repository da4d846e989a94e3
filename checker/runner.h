// The one way the checker family runs a contestant's program: a command with
// its input, under limits, and how it ended.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fault.h"

namespace regs {

// A run's output is cut here: an accepted answer is at most 10001 lines of
// 999 characters, below 10 MB.
constexpr std::size_t MaxOutput = std::size_t{16} << 20;

// The limits of a run. The wall-clock deadline always holds; the others, as
// Kattis problemtools sets them on a submission, only when asked for.
struct RunLimits {
  double seconds = 2;      // wall-clock time, then the whole process group is killed
  double cpu_seconds = 0;  // processor time: SIGXCPU after it, SIGKILL a second later; 0 for none
  long memory_mib = 0;     // address space; 0 for none
  // Peak resident memory: a run whose peak passes it ends in MemoryLimit; 0
  // for none. The program is watched while it runs and killed once it is
  // over, so that a runaway run cannot take the machine; its address space is
  // left alone, which a sanitizer's reservations need.
  long resident_mib = 0;
  bool raise_stack = false;  // the stack's soft limit raised to its hard limit
};

// How a run ended, what it wrote on standard output, and the processor time
// it took, the user's and the system's (its own, not that of what it left
// running). A run past either time limit, the wall clock's or the
// processor's, has TimedOut.
struct Ending {
  enum End { Exited, Signalled, TimedOut, OutputLimit, MemoryLimit };
  End end = Exited;
  int code = 0;  // the exit status, or the signal
  double cpu_seconds = 0;
  long peak_kib = 0;  // the peak resident memory, wait4's ru_maxrss
  std::string output;
};

// Runs command (its first word looked up in PATH, no shell) in a process group
// of its own, with input on its standard input, standard output read into
// run.output up to MaxOutput bytes, standard error to /dev/null. After
// limits.seconds of wall-clock time, or once the output passes MaxOutput, the
// whole group is killed; a peak resident memory over limits.resident_mib
// makes the run a MemoryLimit, however it ended. A program that leaves its input unread or writes
// without end cannot hold the caller up; SIGPIPE is ignored in the caller
// from the first call on, and set back to its default in the program. The
// caller's descriptors 0 to 2 must be open (reopen_standard_descriptors).
// Returns 1 with the run; 0 with the reason in err (of size ErrSize) when the
// program cannot be started ("cannot run sol: No such file or directory"),
// run untouched.
int run_solution(const std::vector<std::string>& command, const std::string& input, const RunLimits& limits,
                 Ending& run, char* err);

}  // namespace regs
