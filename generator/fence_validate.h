// The judgement of a test of the fence task: its text, then its geometry.
#pragma once
#include "fence_format.h"
#include "violation.h"

namespace quillot {

// Checks that a test read by CheckFormat is a fence: both reference points on
// y = 0, no vertex on y = 0, every vertex strictly right of a and left of b, and
// the vertices in order a simple polygon (no vertex repeated, no two edges that
// meet except neighbours at their shared vertex). Returns no violation when it
// is; otherwise the first in that order: a reference point off y = 0, a vertex
// (with the reference point it is not beyond), the two lines of a repeated
// vertex, or two edges that meet, the earlier first, each by the lines of its
// ends. Where naming two edges would take long, the violation says only that
// the polygon is not simple.
Violation CheckFence(const FenceTest& test);

}  // namespace quillot
