// Why a text is not a valid test of the fence task, as a value: what is wrong,
// the lines it is on, and what it concerns, so that a picture can show it. The
// words are made from the value here alone.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillot {

enum class ViolationKind : uint8_t {
  None,
  // The text: each names its line, and the number of the line it is about.
  LineMissing,
  NumberMissing,
  NotPlainDecimal,
  Beyond32Bits,
  NoLineFeed,
  TooManyNumbers,  // the number is how many the line holds
  VertexCount,
  TextAfterLastVertex,
  // The fence.
  ReferenceOffBase,
  VertexOnBase,
  VertexNotRightOfA,
  VertexNotLeftOfB,
  SameVertex,  // the two lines of the vertex
  EdgesMeet,   // the lines of each edge's ends, the earlier edge first
  NotSimple,   // naming two edges would take too long
};

struct Violation {
  ViolationKind kind = ViolationKind::None;
  std::vector<int32_t> lines{};    // the lines it names, in the order its words name them
  int32_t number = 0;              // the number of the line it is about
  std::string text{};              // its words, "" when the test is valid
  bool a = false, b = false;       // the reference points it concerns
  std::vector<size_t> vertices{};  // the vertices it concerns: one, or the two alike
  std::vector<size_t> edges{};     // the two edges that meet; edge i runs from vertex i to the next
};

// The violation of a kind with its lines and number, its text made from them:
// "line 5: missing", "lines 4 and 7: the same vertex", ... What it concerns is
// the caller's to add.
Violation MakeViolation(ViolationKind kind, std::vector<int32_t> lines = {}, int32_t number = 0);

}  // namespace quillot
