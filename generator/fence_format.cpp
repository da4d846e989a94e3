// The text of a test of the fence task: the exact form quillot writes.
#include "fence_format.h"

#include <cstdint>

#include "parse.h"

namespace quillot {

namespace {

class Lines {
 public:
  explicit Lines(std::string_view text) : text(text) {}

  // Reads the next line into values: count numbers, a blank between two, a line
  // feed at the end. Returns no violation, or the first, found from left to right.
  Violation Read(int count, int64_t* values) {
    ++line;
    if (pos == text.size()) return At(ViolationKind::LineMissing);
    for (int k = 1; k <= count; ++k) {
      size_t end = pos;
      while (end < text.size() && text[end] != ' ' && text[end] != '\n') ++end;
      const std::string_view number = text.substr(pos, end - pos);
      if (number.empty()) return At(ViolationKind::NumberMissing, k);
      // Its first 12 characters decide: no number within 32 bits is longer, so the
      // verdict is the same for a text cut anywhere after them.
      if (!ParsePlainDecimal(number.substr(0, 12), values[k - 1]))
        return At(ViolationKind::NotPlainDecimal, k);
      if (values[k - 1] < INT32_MIN || values[k - 1] > INT32_MAX) return At(ViolationKind::Beyond32Bits, k);
      pos = end;
      if (k < count && pos < text.size() && text[pos] == ' ') ++pos;
    }
    if (pos == text.size()) return At(ViolationKind::NoLineFeed);
    if (text[pos] != '\n') return At(ViolationKind::TooManyNumbers, count);
    ++pos;
    return {};
  }

  bool AtEnd() const { return pos == text.size(); }

  // The violation of the line just read, or of one further on.
  Violation At(ViolationKind kind, int32_t number = 0, int32_t ahead = 0) const {
    return MakeViolation(kind, {line + ahead}, number);
  }

 private:
  std::string_view text;
  size_t pos = 0;
  int32_t line = 0;
};

Point ToPoint(const int64_t* xy) { return {static_cast<int32_t>(xy[0]), static_cast<int32_t>(xy[1])}; }

}  // namespace

Violation CheckFormat(std::string_view text, FenceTest& test) {
  Lines lines(text);
  int64_t values[4];
  if (Violation v = lines.Read(4, values); v.kind != ViolationKind::None) return v;
  test.a = ToPoint(values);
  test.b = ToPoint(values + 2);
  if (Violation v = lines.Read(1, values); v.kind != ViolationKind::None) return v;
  if (values[0] < 3 || values[0] > MaxN) return lines.At(ViolationKind::VertexCount);
  test.vertices.clear();
  test.vertices.reserve(values[0]);
  for (int64_t j = values[0]; j > 0; --j) {
    if (Violation v = lines.Read(2, values); v.kind != ViolationKind::None) return v;
    test.vertices.push_back(ToPoint(values));
  }
  return lines.AtEnd() ? Violation{} : lines.At(ViolationKind::TextAfterLastVertex, 0, 1);
}

}  // namespace quillot
