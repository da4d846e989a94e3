// The SVG picture of a test of the fence task, with its first violation drawn on it.
#pragma once
#include "fence_validate.h"

namespace quillot {

class OutFile;

// Writes into out, and closes it, one SVG picture of test with all of it in view:
// the outline as one path, the base line y = 0, the reference points with their
// coordinates, a few coordinates on the axes, and in a test of at most
// LabelledVertices vertices each vertex with its line. Unless violation is none,
// what it concerns is drawn in pure red (#ff0000, used for nothing else), and
// its text is the caption. Coordinates are whole units of the picture's own
// frame, so that 30000 vertices take well under 1 MiB.
void DrawSvg(const FenceTest& test, const Violation& violation, OutFile& out);

inline constexpr size_t LabelledVertices = 100;

// Where DrawSvg puts point p of test, in pixels of the picture drawn at its size.
struct Pixel {
  double x, y;
};
Pixel SvgPixel(const FenceTest& test, Point p);

}  // namespace quillot
