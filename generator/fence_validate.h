// The judgement of a test of the fence task: its text, then its geometry.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fence.h"

namespace quillot {

// A test as read from its text.
struct FenceTest {
  Point a, b;                   // the reference points of line 1
  std::vector<Point> vertices;  // vertex j (from 0) stands on line j + 3
};

// Every valid test is shorter: 30000 vertex lines of at most 24 bytes, and two more.
inline constexpr size_t MaxTestBytes = 1 << 20;

// Checks that text has the form quillot writes: line 1 four numbers, line 2 the
// vertex count n from 3 to MaxN, then n lines of two numbers, and nothing after.
// Every number is a plain decimal within 32 bits, the numbers of a line are
// separated by single blanks, and every line ends in a line feed. Returns "" and
// fills test when it has; otherwise returns the first violation, "line L: what",
// the lines checked in order and each from left to right. A text cut after
// MaxTestBytes gets the violation of the whole text, as every valid text is shorter.
std::string CheckFormat(std::string_view text, FenceTest& test);

// Why a test read by CheckFormat is not a fence: the line that names it, and
// what it is about, so that a picture can show it.
struct Violation {
  std::string text;                // "" when the test is a fence
  bool a = false, b = false;       // the reference points it concerns
  std::vector<size_t> vertices{};  // the vertices it concerns: one, or the two alike
  std::vector<size_t> edges{};     // the two edges that meet; edge i runs from vertex i to the next
};

// Checks that a test read by CheckFormat is a fence: both reference points on
// y = 0, no vertex on y = 0, every vertex strictly right of a and left of b, and
// the vertices in order a simple polygon (no vertex repeated, no two edges that
// meet except neighbours at their shared vertex). Returns no violation when it
// is; otherwise the first in that order: a reference point off y = 0, a vertex
// (with the reference point it is not beyond), the two lines of a repeated
// vertex, or two edges that meet, the earlier first, each by the lines of its
// ends. Where naming two edges would take long, the text alone says that the
// polygon is not simple.
Violation CheckFence(const FenceTest& test);

}  // namespace quillot
