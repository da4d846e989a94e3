// The strict validator of "REGS.IN".
#include "task_validate.h"

#include <climits>

#include "regs.h"

namespace regs {

namespace {

// The numbers of the line in buffer, exactly `expected` of them, or the line's
// fault of form. Magnitudes beyond 13 digits are all alike: out of any range.
const char* plain_numbers(std::size_t length, int expected, long long* values) {
  const char* s = buffer;
  if (s[length - 1] != '\n') return length == BufferSize - 1 ? "line too long" : "no line feed at the end";
  if (length == 1) return "empty line";
  int count = 0;
  for (std::size_t i = 0;; ++i) {
    if (s[i] == ' ' || s[i] == '\n') return "blank not between two numbers";
    const bool negative = s[i] == '-';
    if (negative) ++i;
    const std::size_t first = i;
    long long magnitude = 0;
    for (; s[i] >= '0' && s[i] <= '9'; ++i)
      if (i - first < 14) magnitude = magnitude * 10 + (s[i] - '0');
    const std::size_t digits = i - first;
    if (s[i] == '\r') return "carriage return";
    if (digits == 0 || (s[first] == '0' && (digits > 1 || negative)) || (s[i] != ' ' && s[i] != '\n'))
      return "not a plain decimal integer";
    if (count == expected) return "too many numbers";
    values[count++] = negative ? -magnitude : magnitude;
    if (s[i] == '\n') break;
  }
  return count < expected ? "too few numbers" : nullptr;
}

struct Validator {
  LineReader file;
  char* err;
  int line = 0;
  long long value[2] = {0, 0};

  int violation(const char* what) { return refuse(err, "line %i: %s", line, what); }

  // Reads the next line with `count` numbers into value; its fault, or null.
  const char* next(int count) {
    ++line;
    if (!file.get_line()) return file.failed() ? "read error" : "missing line";
    return plain_numbers(file.length(), count, value);
  }

  bool in_int(long long v) const { return v >= INT_MIN && v <= INT_MAX; }

  int run() {
    if (const char* fault = next(1)) return violation(fault);
    if (value[0] < 1 || value[0] > MaxRegisters) return violation("N out of range");
    const long long registers = value[0];
    if (const char* fault = next(2)) return violation(fault);
    if (value[0] < 1 || value[1] < 1 || !in_int(value[0]) || !in_int(value[1]))
      return violation("C_l or C_s out of range");

    // Children still to come of each open inner node, innermost last.
    int pending[MaxNodes + 1];
    int open = 0;
    for (int nodes = 1;; ++nodes) {
      if (nodes > MaxNodes) {
        ++line;
        return violation("too many nodes");
      }
      if (const char* fault = next(1)) return violation(fault);
      const long long k = value[0];
      if (k < 0 || k > MaxChildren || k > registers) return violation("K out of range");
      // brannik reads such a task, but no answer evaluates a lone leaf: a broken test.
      if (nodes == 1 && k == 0) return violation("the root is a leaf: no answer is accepted");
      if (k > 0) {
        if (const char* fault = next(1)) return violation(fault);
        if (!in_int(value[0])) return violation("cost out of range");
      }
      if (open > 0) --pending[open - 1];
      if (k > 0) pending[open++] = static_cast<int>(k);
      while (open > 0 && pending[open - 1] == 0) --open;
      if (open == 0) break;
    }
    ++line;
    if (file.get_line()) return violation("nothing may follow the root's block");
    return file.failed() ? violation("read error") : 1;
  }
};

}  // namespace

int validate_task(std::FILE* stream, char* err) { return Validator{LineReader(stream), err}.run(); }

}  // namespace regs
