// The register task: reading "REGS.IN" into the tree, replaying "REGS.OUT" on it.
#include "regs.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <new>

namespace regs {

Node* node_map[MaxNodes + 1];
int N;
int M;
int C_l;
int C_s;
Node* root;
char buffer[BufferSize];

bool LineReader::get_line() {
  size = 0;
  while (size < BufferSize - 1) {
    if (begin == end) {
      begin = 0;
      end = read_error ? 0 : std::fread(block, 1, sizeof block, file);
      if (end == 0) {
        // A folder opens without error on Linux and fails here: never the end of the file.
        read_error = read_error || std::ferror(file);
        break;
      }
    }
    const char* start = block + begin;
    const size_t room = std::min(end - begin, BufferSize - 1 - size);
    const auto* line_break = static_cast<const char*>(std::memchr(start, '\n', room));
    const size_t take = line_break ? line_break - start + 1 : room;
    std::memcpy(buffer + size, start, take);
    size += take;
    begin += take;
    if (line_break) break;
  }
  if (read_error) size = 0;
  buffer[size] = '\0';
  return size > 0;
}

namespace {

bool is_space(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');  // \t \n \v \f \r
}

int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

bool fits_int(long long v) { return v >= INT_MIN && v <= INT_MAX; }

// Writes one message into err; always returns 0 so that a check can end with it.
int fail(char* err, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(err, ErrSize, format, args);
  va_end(args);
  return 0;
}

// Reads the next line into buffer and counts it; a read that finds the end of
// the file counts too, so a missing line is reported under its would-be number.
bool next_line(LineReader& file, int& line) {
  ++line;
  return file.get_line();
}

// The first number of the next line, or none when the line is missing or does
// not start with one.
std::optional<long long> read_number(LineReader& file, int& line) {
  if (!next_line(file, line)) return std::nullopt;
  const char* p = buffer;
  return scan_i(p);
}

}  // namespace

std::optional<long long> scan_i(const char*& p) {
  const char* s = p;
  while (is_space(*s)) ++s;
  const bool negative = *s == '-';
  if (*s == '+' || *s == '-') ++s;

  int base = 10;
  bool any_digit = false;
  if (*s == '0') {
    base = 8;
    if (s[1] == 'x' || s[1] == 'X') {
      // "0x" reads as zero even with no hexadecimal digit after it.
      base = 16;
      any_digit = true;
      s += 2;
    }
  }

  // Magnitudes beyond LLONG_MIN's all saturate alike, so the count stops
  // one past it and never overflows.
  constexpr unsigned long long cap = 1ULL << 63;
  const unsigned long long cap_before_digit = base == 16 ? cap / 16 : base == 10 ? cap / 10 : cap / 8;
  unsigned long long magnitude = 0;
  for (int d; (d = digit_value(*s)) < base; ++s) {
    any_digit = true;
    magnitude = magnitude > cap_before_digit ? cap + 1 : std::min(magnitude * base + d, cap + 1);
  }
  if (!any_digit) return std::nullopt;
  p = s;

  if (negative) return magnitude >= cap ? LLONG_MIN : -static_cast<long long>(magnitude);
  return magnitude >= cap ? LLONG_MAX : static_cast<long long>(magnitude);
}

namespace {

// The node's own lines: K and, for an inner node, its cost. Kept apart from
// the recursion over the children so that read_node's frame stays small at
// 10000 levels, also in instrumented builds.
[[gnu::noinline]] Node* read_node_head(LineReader& file, int& count, char* err, int& line) {
  if (++count > MaxNodes) {
    fail(err, "too many nodes");
    return nullptr;
  }
  const auto k = read_number(file, line);
  if (!k) {
    fail(err, "syntax error at line %i", line);
    return nullptr;
  }
  if (*k < 0 || *k > MaxChildren || *k > N) {
    fail(err, "K out of range at line %i", line);
    return nullptr;
  }
  Node* node = new Node;
  node->number = count;
  node->K = static_cast<int>(*k);
  node_map[count] = node;
  if (node->K == 0) return node;

  const auto cost = read_number(file, line);
  if (!cost || !fits_int(*cost)) {
    fail(err, cost ? "cost out of range at line %i" : "syntax error at line %i", line);
    delete node;
    return nullptr;
  }
  node->cost = static_cast<int>(*cost);
  return node;
}

}  // namespace

Node* read_node(LineReader& file, int& count, char* err, int& line) {
  Node* node = read_node_head(file, count, err, line);
  if (!node) return nullptr;
  for (int i = 0; i < node->K; ++i) {
    node->children[i] = read_node(file, count, err, line);
    if (!node->children[i]) {
      node->K = i;  // release just the subtrees read so far
      delete_node(node);
      return nullptr;
    }
  }
  return node;
}

namespace {

int read_tree(LineReader& file, char* err) {
  int line = 0;
  const auto n = read_number(file, line);
  if (!n) return fail(err, "syntax error at line %i", line);
  if (*n <= 0 || *n > MaxRegisters) return fail(err, "N out of range at line %i", line);
  N = static_cast<int>(*n);

  const char* p = buffer;
  const auto c_l = next_line(file, line) ? scan_i(p) : std::nullopt;
  const auto c_s = c_l ? scan_i(p) : std::nullopt;
  if (!c_s) return fail(err, "syntax error at line %i", line);
  if (*c_l <= 0 || *c_s <= 0 || !fits_int(*c_l) || !fits_int(*c_s))
    return fail(err, "C_l or C_s are out of range at line %i", line);
  C_l = static_cast<int>(*c_l);
  C_s = static_cast<int>(*c_s);

  M = 0;
  root = read_node(file, M, err, line);
  if (!root) return 0;
  if (file.get_line()) {
    delete_data();
    return fail(err, "trash in the end of file");
  }
  return 1;
}

// Frees the nodes made before an allocation failed. They are exactly nodes 1 to
// M - 1, as nothing is released before the read ends; freeing them here keeps
// read_node free of handlers, which would cost stack at every level.
void release_made_before(int failed_number) {
  for (int i = 1; i < failed_number; ++i) delete node_map[i];
  root = nullptr;
}

}  // namespace

int read_task(std::FILE* stream, char* err) {
  LineReader file(stream);
  int ok = 0;
  try {
    ok = read_tree(file, err);
  } catch (const std::bad_alloc&) {
    release_made_before(M);
    throw;
  }
  if (!file.failed()) return ok;
  if (ok) delete_data();
  return fail(err, "failed opening file");
}

void delete_node(Node* node) {
  for (int i = 0; i < node->K; ++i) delete_node(node->children[i]);
  delete node;
}

void delete_data() {
  delete_node(root);
  root = nullptr;
}

Trace::Trace() {
  steps.reserve(MaxNodes + 2);  // line 1, a step per inner node, one step rejected
  parent.reserve(MaxNodes + 1);
}

namespace {

// Followed, the replay writes what each line did into steps; not followed, it
// is the plain replay, every record left out at compile time.
template <bool Followed>
int replay(LineReader& file, char* err, long long& claimed_cost, long long& total, std::vector<Step>* steps) {
  Step step{};
  // Records the line as far as it got, then writes the message.
  const auto reject = [&](const char* message, int line) {
    if constexpr (Followed) steps->push_back(step);
    return fail(err, message, line);
  };

  // Totals stay within 10000 steps of 32-bit amounts, far inside 64 bits, so
  // they are exact; a claim saturated at the 64-bit limits can never match.
  total = 0;
  int line = 0;
  if constexpr (Followed) step.line = 1;
  const auto claim = read_number(file, line);
  if (!claim) return reject("syntax error at line %i", line);
  claimed_cost = *claim;
  if constexpr (Followed) {
    step.reached = Step::Done;
    steps->push_back(step);
  }

  int free_registers = N;
  while (next_line(file, line)) {
    if constexpr (Followed) step = Step{.line = line};
    const char* p = buffer;
    const auto number = scan_i(p);
    const auto keep = number ? scan_i(p) : std::nullopt;
    if (!keep) return reject("syntax error at line %i", line);
    if (*number < 1 || *number > M || (*keep != 0 && *keep != 1))
      return reject("value out of range at line %i", line);

    Node* node = node_map[*number];
    if constexpr (Followed) {
      step.reached = Step::Named;
      step.node = node->number;
      step.keep = static_cast<unsigned char>(*keep);
    }
    if (node->K == 0) return reject("evaluating leaf node at line %i", line);
    if (node->evaluated) return reject("reevaluating node at line %i", line);
    for (int i = 0; i < node->K; ++i) {
      const Node* child = node->children[i];
      if (child->K != 0 && !child->evaluated) return reject("node has unevaluated children at line %i", line);
      if (child->K == 0 || child->stored) {  // a load from memory
        total += C_l;
        --free_registers;
        if constexpr (Followed) step.loaded |= 1 << i;
      }
    }
    if constexpr (Followed) {
      step.reached = Step::Loaded;
      step.in_use_loaded = N - free_registers;
    }
    if (free_registers < 0) return reject("too many registers used at line %i", line);

    node->evaluated = 1;
    total += node->cost;
    if (*keep == 1) {
      node->stored = 0;
      free_registers += node->K - 1;  // the result keeps one operand register
    } else {
      node->stored = 1;
      free_registers += node->K;
      total += C_s;
    }
    if constexpr (Followed) {
      step.reached = Step::Done;
      step.in_use = N - free_registers;
      step.total = total;
      steps->push_back(step);
    }
  }
  if (!root->evaluated || root->stored) return fail(err, "root node has not been computed properly");
  if (claimed_cost != total) return fail(err, IncorrectTotal);
  return 1;
}

// The task as the trace draws it: each node's parent, and the parameters.
void record_task(Trace& trace) {
  trace.parent.assign(M + 1, 0);
  for (int i = 1; i <= M; ++i)
    for (int c = 0; c < node_map[i]->K; ++c) trace.parent[node_map[i]->children[c]->number] = i;
  trace.registers = N;
  trace.load = C_l;
  trace.store = C_s;
}

}  // namespace

int replay_answer(std::FILE* stream, char* err, long long& claimed_cost, long long& total, Trace* trace) {
  LineReader file(stream);
  int ok;
  if (trace) {
    trace->steps.clear();
    record_task(*trace);
    ok = replay<true>(file, err, claimed_cost, total, &trace->steps);
  } else {
    ok = replay<false>(file, err, claimed_cost, total, nullptr);
  }
  return file.failed() ? fail(err, "failed opening file") : ok;
}

void clear_evaluated() {
  for (int i = 1; i <= M; ++i) node_map[i]->evaluated = 0;
}

}  // namespace regs
