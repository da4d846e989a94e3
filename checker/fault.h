// What went wrong with a task, an answer or a run, as a value: its kind, the
// line where it was found, and the figures that explain it. Programs decide by
// the kind; the words are made from the value here alone.
#pragma once

#include <cstddef>

namespace regs {

// The size of a caller's message buffer `err`, which every function that can
// fail fills with one message.
constexpr int ErrSize = 1000;

enum class FaultKind : unsigned char {
  None,
  FailedOpening,  // a file that cannot be opened or read
  SyntaxError,    // a line without the numbers it needs
  // the task
  NOutOfRange,
  CostsOutOfRange,  // C_l or C_s
  TooManyNodes,
  KOutOfRange,
  CostOutOfRange,
  TrashAtEnd,
  // a step of the answer
  ValueOutOfRange,
  EvaluatingLeaf,
  Reevaluating,
  UnevaluatedChildren,
  TooManyRegisters,
  // the answer's end
  RootNotComputed,
  IncorrectTotal,  // figures: the claim, the replayed total
  // an answer against the jury's
  Dearer,      // figures: the answer's total, the least
  NotOptimal,  // figures: the jury's total, the contestant's
  // the checker's run
  OutOfMemory,
  RootIsLeaf,  // no answer evaluates a tree of one leaf
  // how a contestant's run ended, when it did not end in time with status 0
  TimeLimit,    // figures: the limit in milliseconds
  OutputLimit,  // figures: the bytes an output is cut at
  MemoryLimit,  // figures: the MiB used, the limit in MiB
  Signalled,    // figures: the signal
  ExitStatus,   // figures: the status
};

// Writes a message into err (of size ErrSize) as printf formats it, and
// returns 0: the failure of the function that calls it.
[[gnu::format(printf, 2, 3)]] int refuse(char* err, const char* format, ...);

struct Fault {
  FaultKind kind = FaultKind::None;
  int line = 0;  // where the message names a line
  long long figures[2] = {0, 0};
};

// Writes the fault's message into out, whose size is `size`: brannik's own
// words, and for an incorrect total, when `figures` is set, the claim and the
// replayed total after them ("incorrect total cost: claimed 12, replayed 11").
// A run's end has its figures always ("time limit: more than 2 s").
// Nothing when the kind is None. The longest message is under 100 characters.
void fault_message(const Fault& fault, bool figures, char* out, std::size_t size);

}  // namespace regs
