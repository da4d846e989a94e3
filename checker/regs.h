// The register task: the expression tree read from "REGS.IN" and the replay of
// a contestant's answer "REGS.OUT" on the model machine.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "fault.h"

namespace regs {

constexpr int MaxNodes = 10000;
constexpr int MaxChildren = 10;
constexpr int MaxRegisters = 100;
constexpr int BufferSize = 1000;  // one read takes at most 999 characters

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

// Reads a stream, or a text in memory, line by line into `buffer` as fgets
// would: through the line break, at most BufferSize - 1 characters a read. It
// takes a stream a block at a time, which spares a library call per line, and
// a text in place.
class LineReader {
 public:
  explicit LineReader(std::FILE* file) : file(file), data(block) {}
  explicit LineReader(std::string_view text) : data(text.data()), end(text.size()) {}
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;
  // False at the end of the input, and from a read error on: a line cut short
  // by the error is not returned, so nothing is judged on part of a line.
  bool get_line();
  bool failed() const { return read_error; }
  std::size_t length() const { return size; }  // of the last line, NUL bytes included

 private:
  std::FILE* file = nullptr;  // none for a text in memory
  const char* data;           // the block, or the text
  char block[1 << 14];
  std::size_t begin = 0, end = 0, size = 0;
  bool read_error = false;
};

// One "%i" conversion at p: white space, an optional sign, then hexadecimal after
// 0x or 0X, octal after a leading 0, decimal otherwise. Advances p past the number.
// Magnitudes beyond 64 bits saturate at the limits of long long.
std::optional<long long> scan_i(const char*& p);

// Read "REGS.IN" into the tree. Return 1 on success; 0
// with one message in err (of size ErrSize) and the fault in *fault when one
// is given, nothing left allocated. A read error makes the file unreadable:
// "failed opening file". When a node cannot be allocated, std::bad_alloc
// leaves it, again with nothing left allocated.
int read_task(LineReader& file, char* err, Fault* fault = nullptr);
inline int read_task(std::FILE* file, char* err, Fault* fault = nullptr) {
  LineReader reader(file);
  return read_task(reader, err, fault);
}
// One node block and its subtree, numbered from count + 1. On a defect: no
// node, the fault in fault, nothing it made left allocated. When an
// allocation fails, std::bad_alloc leaves it with its nodes still in
// node_map, for read_task to free.
Node* read_node(LineReader& file, int& count, Fault& fault, int& line);

void delete_node(Node* node);
void delete_data();

// The reading of lines, shared by the reader and the replay. The next line
// into buffer, counted; a read that finds the end of the input counts too, so
// a missing line is reported under its would-be number.
inline bool next_line(LineReader& file, int& line) {
  ++line;
  return file.get_line();
}
// The first number of the next line, or none when the line is missing or does
// not start with one.
inline std::optional<long long> read_number(LineReader& file, int& line) {
  if (!next_line(file, line)) return std::nullopt;
  const char* p = buffer;
  return scan_i(p);
}
// Records a fault; always returns 0 so that a check can end with it.
inline int fail(Fault& out, FaultKind kind, int line = 0) {
  out = {kind, line};
  return 0;
}
// The result of a reader or a replay: the fault, when there is one, also as
// words in err and as a value for the caller who asked for it.
int reading_result(int ok, const Fault& fault, char* err, Fault* out);

}  // namespace regs
