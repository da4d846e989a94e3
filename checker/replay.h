// The replay of a contestant's answer "REGS.OUT" on the model machine, over the
// tree that read_task left in memory: the heart of the checker.
#pragma once

#include <cstdio>
#include <vector>

#include "fault.h"
#include "regs.h"
#include "task.h"

namespace regs {

// What the replay did at one line of the answer: line 1 (node 0) or a step.
// The fields are set as far as the line got before it was done or rejected.
struct Step {
  enum Reached : unsigned char { Read, Named, Loaded, Done };
  int line = 0;
  Reached reached = Read;
  unsigned char keep = 0;     // Named on: the keep flag
  unsigned short loaded = 0;  // Loaded on: bit i set when child i was loaded, clear when it was held
  int node = 0;               // Named on: the node evaluated
  int in_use_loaded = 0;      // Loaded on: registers in use once the operands are loaded
  int in_use = 0;             // Done: registers in use after the step
  long long total = 0;        // Done: the total cost after the step
};

// A replay followed line by line, and the task it ran on, for brannik-trace.
struct Trace {
  // Takes at once all the memory that a replay of the largest task can need,
  // so that following a replay allocates nothing.
  Trace();
  std::vector<Step> steps;  // line 1, every step done, and the step rejected, if any
  Task task;                // the task replayed on; no node when the replay never began
};

// Replay "REGS.OUT" on the tree. Return 1 when the answer
// is accepted; 0 with one message in err (of size ErrSize) and the fault in
// *fault when one is given ("failed opening file" after a read error, whatever
// was read before it). claimed_cost gets line 1's number when it holds one,
// total the steps' cost once the replay reached the answer's end. With a
// trace, the replay also records in it the lines it examined and the task's
// shape and parameters; without one, it records nothing and costs nothing more.
int replay_answer(LineReader& file, char* err, long long& claimed_cost, long long& total,
                  Fault* fault = nullptr, Trace* trace = nullptr);
inline int replay_answer(std::FILE* file, char* err, long long& claimed_cost, long long& total,
                         Fault* fault = nullptr, Trace* trace = nullptr) {
  LineReader reader(file);
  return replay_answer(reader, err, claimed_cost, total, fault, trace);
}

// Marks every node unevaluated again, so that another answer can be replayed
// on the tree that one replay has marked.
void clear_evaluated();

}  // namespace regs
