// The register task: the expression tree read from "REGS.IN" and the replay of
// a contestant's answer "REGS.OUT" on the model machine.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <vector>

#include "fault.h"

namespace regs {

constexpr int MaxNodes = 10000;
constexpr int MaxChildren = 10;
constexpr int MaxRegisters = 100;
constexpr int BufferSize = 1000;  // one read takes at most 999 characters
constexpr int ErrSize = 1000;     // size of the caller's message buffer `err`

struct Node {
  int number;                   // pre-order number, also the index in node_map
  int K;                        // number of children; 0 marks a leaf
  int cost;                     // set for inner nodes only
  Node* children[MaxChildren];  // slots 0..K-1, owned by this node
  int evaluated = 0;
  int stored;  // meaningful once evaluated: 1 in memory, 0 held in a register
};

extern Node* node_map[MaxNodes + 1];
extern int N;    // registers of the machine
extern int M;    // node counter, the number of nodes after a successful read
extern int C_l;  // cost of a load
extern int C_s;  // cost of a store
extern Node* root;
extern char buffer[BufferSize];

// Reads an open stream line by line into `buffer` as fgets would: through the
// line break, at most BufferSize - 1 characters a read. It takes the stream a
// block at a time, which spares a library call per line.
class LineReader {
 public:
  explicit LineReader(std::FILE* file) : file(file) {}
  // False at the end of the stream, and from a read error on: a line cut short
  // by the error is not returned, so nothing is judged on part of a line.
  bool get_line();
  bool failed() const { return read_error; }
  std::size_t length() const { return size; }  // of the last line, NUL bytes included

 private:
  std::FILE* file;
  char block[1 << 14];
  std::size_t begin = 0, end = 0, size = 0;
  bool read_error = false;
};

// One "%i" conversion at p: white space, an optional sign, then hexadecimal after
// 0x or 0X, octal after a leading 0, decimal otherwise. Advances p past the number.
// Magnitudes beyond 64 bits saturate at the limits of long long.
std::optional<long long> scan_i(const char*& p);

// Read "REGS.IN" from an open stream into the tree. Return 1 on success; 0
// with one message in err (of size ErrSize) and the fault in *fault when one
// is given, nothing left allocated. A read error makes the file unreadable:
// "failed opening file". When a node cannot be allocated, std::bad_alloc
// leaves it, again with nothing left allocated.
int read_task(std::FILE* file, char* err, Fault* fault = nullptr);
// One node block and its subtree, numbered from count + 1. On a defect: no
// node, the fault in fault, nothing it made left allocated. When an
// allocation fails, std::bad_alloc leaves it with its nodes still in
// node_map, for read_task to free.
Node* read_node(LineReader& file, int& count, Fault& fault, int& line);

void delete_node(Node* node);
void delete_data();

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
  std::vector<int> parent;  // by node number 1 to M: its parent, 0 for the root
  int registers = 0, load = 0, store = 0;
};

// Replay "REGS.OUT" from an open stream on the tree. Return 1 when the answer
// is accepted; 0 with one message in err (of size ErrSize) and the fault in
// *fault when one is given ("failed opening file" after a read error, whatever
// was read before it). claimed_cost gets line 1's number when it holds one,
// total the steps' cost once the replay reached the answer's end. With a
// trace, the replay also records in it the lines it examined and the task's
// shape and parameters; without one, it records nothing and costs nothing more.
int replay_answer(std::FILE* file, char* err, long long& claimed_cost, long long& total,
                  Fault* fault = nullptr, Trace* trace = nullptr);

// Marks every node unevaluated again, so that another answer can be replayed
// on the tree that one replay has marked.
void clear_evaluated();

}  // namespace regs
