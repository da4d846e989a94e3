// The text of a test of the fence task: the exact form quillot writes.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

#include "fence.h"
#include "violation.h"

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
// separated by single blanks, and every line ends in a line feed. Returns no
// violation and fills test when it has; otherwise the first violation, the
// lines checked in order and each from left to right. A text cut after
// MaxTestBytes gets the violation of the whole text, as every valid text is shorter.
Violation CheckFormat(std::string_view text, FenceTest& test);

}  // namespace quillot
