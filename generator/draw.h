// The picture "fence.ps": the test of "fence.in" drawn on one A3 PostScript page.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillot {

// Where a point of the test lands on the page, in points.
struct PagePoint {
  double x;
  double y;
};
// x is never limited; y above the top edge is drawn at 1188, below the bottom at 2.
PagePoint MapToPage(double scale, int64_t x, int64_t y);

// A number rounded to hundredths, right-aligned in 8 characters, longer in full.
struct Field {
  char text[320];  // room for the largest double
  size_t size;
  std::string_view View() const { return {text, size}; }
};
Field FixedField(double value);

// Page points per coordinate unit for the fence just built, so that it fits the width.
double DrawScale();

// Reads "fence.in" back from the disk and draws it into "fence.ps".
void DrawFence(double scale);

}  // namespace quillot
