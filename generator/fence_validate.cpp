// The geometry of a test of the fence task, judged with CGAL's exact predicates.
#include "fence_validate.h"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2_algorithms.h>
#include <CGAL/box_intersection_d.h>

#include <algorithm>
#include <utility>

namespace quillot {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point2 = Kernel::Point_2;
using Segment2 = Kernel::Segment_2;
using EdgeBox = CGAL::Box_intersection_d::Box_with_info_d<double, 2, size_t>;

int32_t LineOf(size_t vertex) { return static_cast<int32_t>(vertex + 3); }

// Long edges nested in each other can make nearly every pair of edges a
// candidate; the search for two to name gives up after this many.
constexpr size_t MaxCandidates = 1 << 22;

// Ends the search: two edges found to meet, or none named within MaxCandidates.
struct Meeting {
  size_t first, second;
};

// Edge i runs from vertex i to the next. Neighbours meet beyond their shared
// vertex only when one runs back along the other.
bool EdgesMeet(const std::vector<Point2>& p, size_t i, size_t j) {
  const size_t n = p.size();
  if (j == (i + 1) % n) std::swap(i, j);
  if (i == (j + 1) % n) {
    const Point2 &before = p[j], &shared = p[i], &after = p[(i + 1) % n];
    return CGAL::collinear(before, shared, after) &&
           !CGAL::collinear_are_strictly_ordered_along_line(before, shared, after);
  }
  return CGAL::do_intersect(Segment2(p[i], p[(i + 1) % n]), Segment2(p[j], p[(j + 1) % n]));
}

// Names what makes a polygon that is not simple so: a repeated vertex, else two
// edges that meet (their boxes found by CGAL, each pair then decided exactly),
// else only that it is not simple.
Violation Witness(const std::vector<Point2>& p) {
  std::vector<std::pair<Point2, size_t>> sorted;
  for (size_t i = 0; i < p.size(); ++i) sorted.emplace_back(p[i], i);
  std::sort(sorted.begin(), sorted.end());
  for (size_t k = 1; k < sorted.size(); ++k) {
    const size_t first = sorted[k - 1].second, second = sorted[k].second;
    if (sorted[k].first == sorted[k - 1].first) {
      Violation v = MakeViolation(ViolationKind::SameVertex, {LineOf(first), LineOf(second)});
      v.vertices = {first, second};
      return v;
    }
  }

  std::vector<EdgeBox> boxes;
  for (size_t i = 0; i < p.size(); ++i) boxes.emplace_back(Segment2(p[i], p[(i + 1) % p.size()]).bbox(), i);
  size_t candidates = 0;
  try {
    CGAL::box_self_intersection_d(boxes.begin(), boxes.end(), [&](const EdgeBox& a, const EdgeBox& b) {
      if (EdgesMeet(p, a.info(), b.info()))
        throw Meeting{std::min(a.info(), b.info()), std::max(a.info(), b.info())};
      if (++candidates == MaxCandidates) throw Meeting{0, 0};
    });
  } catch (const Meeting& m) {
    if (m.first != m.second) {
      const size_t n = p.size();
      Violation v = MakeViolation(ViolationKind::EdgesMeet, {LineOf(m.first), LineOf((m.first + 1) % n),
                                                             LineOf(m.second), LineOf((m.second + 1) % n)});
      v.edges = {m.first, m.second};
      return v;
    }
  }
  return MakeViolation(ViolationKind::NotSimple);
}

}  // namespace

Violation CheckFence(const FenceTest& test) {
  if (test.a.y != 0 || test.b.y != 0) {
    Violation v = MakeViolation(ViolationKind::ReferenceOffBase, {1});
    v.a = test.a.y != 0;
    v.b = test.b.y != 0;
    return v;
  }
  for (size_t j = 0; j < test.vertices.size(); ++j) {
    const Point v = test.vertices[j];
    const bool onBase = v.y == 0, notRightOfA = v.x <= test.a.x, notLeftOfB = v.x >= test.b.x;
    if (!onBase && !notRightOfA && !notLeftOfB) continue;
    Violation violation = MakeViolation(onBase        ? ViolationKind::VertexOnBase
                                        : notRightOfA ? ViolationKind::VertexNotRightOfA
                                                      : ViolationKind::VertexNotLeftOfB,
                                        {LineOf(j)});
    violation.a = !onBase && notRightOfA;
    violation.b = !onBase && !notRightOfA;
    violation.vertices = {j};
    return violation;
  }
  std::vector<Point2> polygon;
  polygon.reserve(test.vertices.size());
  for (const Point v : test.vertices) polygon.emplace_back(v.x, v.y);
  return CGAL::is_simple_2(polygon.begin(), polygon.end(), Kernel()) ? Violation{} : Witness(polygon);
}

}  // namespace quillot
