// The words of every violation of a test of the fence task.
#include "violation.h"

#include <utility>

#include "fence.h"

namespace quillot {

namespace {

std::string Words(ViolationKind kind, const std::vector<int32_t>& l, int32_t number) {
  const auto line = [&l](size_t i) { return std::to_string(l[i]); };
  const std::string at = l.empty() ? "" : "line " + line(0) + ": ",
                    numberK = "number " + std::to_string(number);
  switch (kind) {
    case ViolationKind::None:
      return "";
    case ViolationKind::LineMissing:
      return at + "missing";
    case ViolationKind::NumberMissing:
      return at + numberK + " missing";
    case ViolationKind::NotPlainDecimal:
      return at + numberK + " is not a plain decimal";
    case ViolationKind::Beyond32Bits:
      return at + numberK + " is beyond 32 bits";
    case ViolationKind::NoLineFeed:
      return at + "no line feed at its end";
    case ViolationKind::TooManyNumbers:
      return at + "more than " + std::to_string(number) + " numbers";
    case ViolationKind::VertexCount:
      return at + "the vertex count is not from 3 to " + std::to_string(MaxN);
    case ViolationKind::TextAfterLastVertex:
      return at + "text after the last vertex";
    case ViolationKind::ReferenceOffBase:
      return at + "a reference point is not on y = 0";
    case ViolationKind::VertexOnBase:
      return at + "a vertex on y = 0";
    case ViolationKind::VertexNotRightOfA:
      return at + "a vertex not right of the first reference point";
    case ViolationKind::VertexNotLeftOfB:
      return at + "a vertex not left of the second reference point";
    case ViolationKind::SameVertex:
      return "lines " + line(0) + " and " + line(1) + ": the same vertex";
    case ViolationKind::EdgesMeet:
      return "the edge from line " + line(0) + " to line " + line(1) + " meets the edge from line " +
             line(2) + " to line " + line(3);
    case ViolationKind::NotSimple:
      return "the fence is not a simple polygon";
  }
  return "";
}

}  // namespace

Violation MakeViolation(ViolationKind kind, std::vector<int32_t> lines, int32_t number) {
  Violation v;
  v.kind = kind;
  v.text = Words(kind, lines, number);
  v.lines = std::move(lines);
  v.number = number;
  return v;
}

}  // namespace quillot
