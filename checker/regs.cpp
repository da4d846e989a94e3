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
      end = read_error || !file ? 0 : std::fread(block, 1, sizeof block, file);
      if (end == 0) {
        // A folder opens without error on Linux and fails here: never the end of the file.
        read_error = read_error || (file && std::ferror(file));
        break;
      }
    }
    // Byte by byte through the line break: lines are a few characters long,
    // shorter than a library call takes to start.
    const char* from = data + begin;
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

}  // namespace

int reading_result(int ok, const Fault& fault, char* err, Fault* out) {
  if (out) *out = ok ? Fault{} : fault;
  if (!ok) fault_message(fault, false, err, ErrSize);
  return ok;
}

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

}  // namespace

int read_task(LineReader& file, char* err, Fault* fault) {
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
  return reading_result(ok, found, err, fault);
}

void delete_node(Node* node) {
  for (int i = 0; i < node->K; ++i) delete_node(node->children[i]);
  delete node;
}

void delete_data() {
  delete_node(root);
  root = nullptr;
}

}  // namespace regs
