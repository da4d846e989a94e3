// The register task: reading "REGS.IN" into the tree, replaying "REGS.OUT" on it.
#include "regs.h"

#include <algorithm>
#include <climits>
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
    // Byte by byte through the line break: lines are a few characters long,
    // shorter than a library call takes to start.
    const char* from = block + begin;
    const std::size_t room = std::min(end - begin, BufferSize - 1 - size);
    std::size_t n = 0;
    bool line_break = false;
    while (n < room && !line_break) {
      buffer[size + n] = from[n];
      line_break = from[n++] == '\n';
    }
    size += n;
    begin += n;
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

// Records a fault; always returns 0 so that a check can end with it.
int fail(Fault& out, FaultKind kind, int line = 0) {
  out = {kind, line};
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

  // A decimal of fewer than 19 digits, the form of nearly every number, has
  // no base to find and no limit to pass: taken at once.
  if (*s >= '1' && *s <= '9') {
    const char* first = s;
    unsigned long long magnitude = 0;
    for (unsigned d; (d = static_cast<unsigned char>(*s) - '0') < 10 && s - first < 18; ++s)
      magnitude = magnitude * 10 + d;
    if (static_cast<unsigned>(static_cast<unsigned char>(*s) - '0') >= 10) {
      p = s;
      return negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    }
    s = first;
  }

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

  // Magnitudes beyond LLONG_MIN's all saturate alike, so the count stops one
  // past it and never overflows.
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
[[gnu::noinline]] Node* read_node_head(LineReader& file, int& count, Fault& fault, int& line) {
  if (++count > MaxNodes) {
    fail(fault, FaultKind::TooManyNodes);
    return nullptr;
  }
  const auto k = read_number(file, line);
  if (!k) {
    fail(fault, FaultKind::SyntaxError, line);
    return nullptr;
  }
  if (*k < 0 || *k > MaxChildren || *k > N) {
    fail(fault, FaultKind::KOutOfRange, line);
    return nullptr;
  }
  Node* node = new Node;
  node->number = count;
  node->K = static_cast<int>(*k);
  node_map[count] = node;
  if (node->K == 0) return node;

  const auto cost = read_number(file, line);
  if (!cost || !fits_int(*cost)) {
    fail(fault, cost ? FaultKind::CostOutOfRange : FaultKind::SyntaxError, line);
    delete node;
    return nullptr;
  }
  node->cost = static_cast<int>(*cost);
  return node;
}

}  // namespace

namespace {

// What every level of a reading shares, passed down as one reference: the
// reading goes as deep as the tree, 10000 levels, and a level's frame holds
// little more than its node.
struct Reading {
  LineReader& file;
  int& count;
  Fault& fault;
  int& line;
};

Node* read_subtree(const Reading& r) {
  Node* node = read_node_head(r.file, r.count, r.fault, r.line);
  if (!node) return nullptr;
  for (int i = 0; i < node->K; ++i) {
    node->children[i] = read_subtree(r);
    if (!node->children[i]) {
      node->K = i;  // release just the subtrees read so far
      delete_node(node);
      return nullptr;
    }
  }
  return node;
}

}  // namespace

Node* read_node(LineReader& file, int& count, Fault& fault, int& line) {
  return read_subtree({file, count, fault, line});
}

namespace {

int read_tree(LineReader& file, Fault& fault) {
  int line = 0;
  const auto n = read_number(file, line);
  if (!n) return fail(fault, FaultKind::SyntaxError, line);
  if (*n <= 0 || *n > MaxRegisters) return fail(fault, FaultKind::NOutOfRange, line);
  N = static_cast<int>(*n);

  const char* p = buffer;
  const auto c_l = next_line(file, line) ? scan_i(p) : std::nullopt;
  const auto c_s = c_l ? scan_i(p) : std::nullopt;
  if (!c_s) return fail(fault, FaultKind::SyntaxError, line);
  if (*c_l <= 0 || *c_s <= 0 || !fits_int(*c_l) || !fits_int(*c_s))
    return fail(fault, FaultKind::CostsOutOfRange, line);
  C_l = static_cast<int>(*c_l);
  C_s = static_cast<int>(*c_s);

  M = 0;
  root = read_node(file, M, fault, line);
  if (!root) return 0;
  if (file.get_line()) {
    delete_data();
    return fail(fault, FaultKind::TrashAtEnd);
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

// The result of a reader or a replay: the fault, when there is one, also as
// words in err and as a value for the caller who asked for it.
int result(int ok, const Fault& fault, char* err, Fault* out) {
  if (out) *out = ok ? Fault{} : fault;
  if (!ok) fault_message(fault, false, err, ErrSize);
  return ok;
}

}  // namespace

int read_task(std::FILE* stream, char* err, Fault* fault) {
  LineReader file(stream);
  Fault found;
  int ok = 0;
  try {
    ok = read_tree(file, found);
  } catch (const std::bad_alloc&) {
    release_made_before(M);
    throw;
  }
  if (file.failed()) {
    if (ok) delete_data();
    ok = fail(found, FaultKind::FailedOpening);
  }
  return result(ok, found, err, fault);
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

// A replay that nobody follows: every record of a line is left out.
struct Unfollowed {
  void operator()(const Step&) const {}
};

// A replay followed for brannik-trace: every line it examined, as far as it got.
struct Follower {
  std::vector<Step>& steps;
  void operator()(const Step& step) const { steps.push_back(step); }
};

// The replay, line by line. Each line's record is handed to `follow` once,
// when the line is done or rejected; unfollowed, the records cost nothing.
template <typename Follow>
int replay(LineReader& file, long long& claimed_cost, long long& total, Fault& fault, Follow follow) {
  Step step;
  const auto reject = [&](FaultKind kind) {
    follow(step);
    return fail(fault, kind, step.line);
  };

  // Totals stay within 10000 steps of 32-bit amounts, far inside 64 bits, so
  // they are exact; a claim saturated at the 64-bit limits can never match.
  total = 0;
  int line = 0;
  const auto claim = read_number(file, line);
  step.line = line;
  if (!claim) return reject(FaultKind::SyntaxError);
  claimed_cost = *claim;
  step.reached = Step::Done;
  follow(step);

  int free_registers = N;
  while (next_line(file, line)) {
    step = Step();
    step.line = line;
    const char* p = buffer;
    const auto number = scan_i(p);
    const auto keep = number ? scan_i(p) : std::nullopt;
    if (!keep) return reject(FaultKind::SyntaxError);
    if (*number < 1 || *number > M || (*keep != 0 && *keep != 1)) return reject(FaultKind::ValueOutOfRange);

    Node* node = node_map[*number];
    step.reached = Step::Named;
    step.node = node->number;
    step.keep = static_cast<unsigned char>(*keep);
    if (node->K == 0) return reject(FaultKind::EvaluatingLeaf);
    if (node->evaluated) return reject(FaultKind::Reevaluating);
    for (int i = 0; i < node->K; ++i) {
      const Node* child = node->children[i];
      if (child->K != 0 && !child->evaluated) return reject(FaultKind::UnevaluatedChildren);
      if (child->K == 0 || child->stored) {  // a load from memory
        total += C_l;
        --free_registers;
        step.loaded |= 1 << i;
      }
    }
    step.reached = Step::Loaded;
    step.in_use_loaded = N - free_registers;
    if (free_registers < 0) return reject(FaultKind::TooManyRegisters);

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
    step.reached = Step::Done;
    step.in_use = N - free_registers;
    step.total = total;
    follow(step);
  }
  if (!root->evaluated || root->stored) return fail(fault, FaultKind::RootNotComputed);
  if (claimed_cost != total) {
    fault = {FaultKind::IncorrectTotal, 0, {claimed_cost, total}};
    return 0;
  }
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

int replay_answer(std::FILE* stream, char* err, long long& claimed_cost, long long& total, Fault* fault,
                  Trace* trace) {
  LineReader file(stream);
  Fault found;
  int ok;
  if (trace) {
    trace->steps.clear();
    record_task(*trace);
    ok = replay(file, claimed_cost, total, found, Follower{trace->steps});
  } else {
    ok = replay(file, claimed_cost, total, found, Unfollowed{});
  }
  if (file.failed()) ok = fail(found, FaultKind::FailedOpening);
  return result(ok, found, err, fault);
}

void clear_evaluated() {
  for (int i = 1; i <= M; ++i) node_map[i]->evaluated = 0;
}

}  // namespace regs
