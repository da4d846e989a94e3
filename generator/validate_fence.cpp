// The geometry of a test of the fence task, judged with CGAL's exact predicates.
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2_algorithms.h>
#include <CGAL/box_intersection_d.h>

#include <algorithm>
#include <utility>

#include "fence_validate.h"

namespace quillot {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point2 = Kernel::Point_2;
using Segment2 = Kernel::Segment_2;
using EdgeBox = CGAL::Box_intersection_d::Box_with_info_d<double, 2, size_t>;

std::string LineOf(size_t vertex) { return std::to_string(vertex + 3); }

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
    if (sorted[k].first == sorted[k - 1].first)
      return {.text = "lines " + LineOf(first) + " and " + LineOf(second) + ": the same vertex",
              .vertices = {first, second}};
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
      const auto edge = [&p](size_t i) {
        return "from line " + LineOf(i) + " to line " + LineOf((i + 1) % p.size());
      };
      return {.text = "the edge " + edge(m.first) + " meets the edge " + edge(m.second),
              .edges = {m.first, m.second}};
    }
  }
  return {.text = "the fence is not a simple polygon"};
}

}  // namespace

Violation CheckFence(const FenceTest& test) {
  if (test.a.y != 0 || test.b.y != 0)
    return {.text = "line 1: a reference point is not on y = 0", .a = test.a.y != 0, .b = test.b.y != 0};
  for (size_t j = 0; j < test.vertices.size(); ++j) {
    const Point v = test.vertices[j];
    const bool onBase = v.y == 0, notRightOfA = v.x <= test.a.x, notLeftOfB = v.x >= test.b.x;
    if (!onBase && !notRightOfA && !notLeftOfB) continue;
    const char* what = onBase        ? "a vertex on y = 0"
                       : notRightOfA ? "a vertex not right of the first reference point"
                                     : "a vertex not left of the second reference point";
    return {.text = "line " + LineOf(j) + ": " + what,
            .a = !onBase && notRightOfA,
            .b = !onBase && !notRightOfA,
            .vertices = {j}};
  }
  std::vector<Point2> polygon;
  polygon.reserve(test.vertices.size());
  for (const Point v : test.vertices) polygon.emplace_back(v.x, v.y);
  return CGAL::is_simple_2(polygon.begin(), polygon.end(), Kernel()) ? Violation{} : Witness(polygon);
}

}  // namespace quillot
