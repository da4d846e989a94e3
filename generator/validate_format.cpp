// The text of a test of the fence task: the exact form quillot writes.
#include <algorithm>
#include <cstdint>

#include "fence_validate.h"
#include "parse.h"

namespace quillot {

namespace {

class Lines {
 public:
  explicit Lines(std::string_view text) : text(text) {}

  // Reads the next line into values: count numbers, a blank between two, a line
  // feed at the end. Returns "" or the violation, found from left to right.
  std::string Read(int count, int64_t* values) {
    ++line;
    if (pos == text.size()) return Violation("missing");
    for (int k = 1; k <= count; ++k) {
      size_t end = pos;
      while (end < text.size() && text[end] != ' ' && text[end] != '\n') ++end;
      const std::string_view number = text.substr(pos, end - pos);
      const auto numberIs = [&](const char* what) { return Violation("number " + std::to_string(k) + what); };
      if (number.empty()) return numberIs(" missing");
      // Its first 12 characters decide: no number within 32 bits is longer, so the
      // verdict is the same for a text cut anywhere after them.
      if (!ParsePlainDecimal(number.substr(0, 12), values[k - 1])) return numberIs(" is not a plain decimal");
      if (values[k - 1] < INT32_MIN || values[k - 1] > INT32_MAX) return numberIs(" is beyond 32 bits");
      pos = end;
      if (k < count && pos < text.size() && text[pos] == ' ') ++pos;
    }
    if (pos == text.size()) return Violation("no line feed at its end");
    if (text[pos] != '\n') return Violation("more than " + std::to_string(count) + " numbers");
    ++pos;
    return "";
  }

  bool AtEnd() const { return pos == text.size(); }

  // The violation of the line just read, or of one further on.
  std::string Violation(const std::string& what, int32_t ahead = 0) const {
    return "line " + std::to_string(line + ahead) + ": " + what;
  }

 private:
  std::string_view text;
  size_t pos = 0;
  int32_t line = 0;
};

Point ToPoint(const int64_t* xy) { return {static_cast<int32_t>(xy[0]), static_cast<int32_t>(xy[1])}; }

}  // namespace

std::string CheckFormat(std::string_view text, FenceTest& test) {
  Lines lines(text);
  int64_t values[4];
  std::string violation = lines.Read(4, values);
  if (!violation.empty()) return violation;
  test.a = ToPoint(values);
  test.b = ToPoint(values + 2);
  violation = lines.Read(1, values);
  if (!violation.empty()) return violation;
  if (values[0] < 3 || values[0] > MaxN)
    return lines.Violation("the vertex count is not from 3 to " + std::to_string(MaxN));
  test.vertices.clear();
  test.vertices.reserve(values[0]);
  for (int64_t j = values[0]; j > 0; --j) {
    violation = lines.Read(2, values);
    if (!violation.empty()) return violation;
    test.vertices.push_back(ToPoint(values));
  }
  return lines.AtEnd() ? "" : lines.Violation("text after the last vertex", 1);
}

}  // namespace quillot
