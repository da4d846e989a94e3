// The SVG picture of a test of the fence task: the outline as one path in whole
// units of the picture's frame, and the first violation in a colour of its own.
#include "draw_svg.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "io.h"

namespace quillot {

namespace {

constexpr int64_t Frame = 40000;         // the longer side of the drawing, in units of the frame
constexpr int64_t Shown = 1000;          // the longer side of the drawing as shown, in pixels
constexpr const char* Red = "#ff0000";   // the violation's alone
constexpr const char* Blue = "#0050c0";  // the reference points

// The text with &, <, > and " written as entities, as XML wants an element's text.
std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const char* entity = c == '&'   ? "&amp;"
                         : c == '<' ? "&lt;"
                         : c == '>' ? "&gt;"
                         : c == '"' ? "&quot;"
                                    : nullptr;
    entity ? out += entity : out += c;
  }
  return out;
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// Axis marks 1, 2 or 5 times a power of ten apart: at most five intervals over range.
int64_t TickStep(int64_t range) {
  for (int64_t power = 1;; power *= 10) {
    for (const int64_t step : {power, 2 * power, 5 * power}) {
      if (step * 5 >= range) return step;
    }
  }
}

// The test's coordinates in the frame: x to the right, y upwards, the drawing
// between margins. Whole frame units per test unit keep every vertex where it
// is; only a test wider than Frame is rounded into it. One pixel as shown is
// `pixel` units, and both sides of the frame are whole pixels.
struct Layout {
  explicit Layout(const FenceTest& test) : minX(test.a.x), maxX(test.a.x) {
    const auto take = [this](Point p) {
      minX = std::min<int64_t>(minX, p.x);
      maxX = std::max<int64_t>(maxX, p.x);
      minY = std::min<int64_t>(minY, p.y);
      maxY = std::max<int64_t>(maxY, p.y);
    };
    take(test.a);
    take(test.b);
    for (const Point v : test.vertices) take(v);
    const int64_t range = std::max({maxX - minX, maxY - minY, int64_t{1}});
    scale = range <= Frame ? static_cast<double>(Frame / range) : static_cast<double>(Frame) / range;
    const int64_t w = Scaled(maxX - minX), h = Scaled(maxY - minY);
    pixel = std::max<int64_t>(1, (std::max(w, h) + Shown - 1) / Shown);
    left = Px(100);
    top = Px(40);
    width = (std::max(left + w + Px(60), Px(700)) + pixel - 1) / pixel * pixel;
    height = (top + h + Px(80) + pixel - 1) / pixel * pixel;
  }

  int64_t Scaled(int64_t d) const { return std::llround(static_cast<double>(d) * scale); }
  int64_t X(int64_t x) const { return left + Scaled(x - minX); }
  int64_t Y(int64_t y) const { return top + Scaled(maxY - y); }
  int64_t Px(int64_t pixels) const { return pixels * pixel; }

  int64_t minX, maxX, minY = 0, maxY = 0;
  double scale;
  int64_t pixel, left, top, width, height;
};

// Writes the picture: texts, and numbers in plain decimal (all within 32 bits:
// coordinates of the test or of the frame, and lines).
class Svg {
 public:
  Svg(OutFile& out, const Layout& l) : out(out), l(l) {}

  template <typename... Parts>
  Svg& operator()(const Parts&... parts) {
    (Put(parts), ...);
    return *this;
  }
  Svg& At(Point p) { return (*this)(l.X(p.x), " ", l.Y(p.y)); }
  Svg& Circle(Point p, int64_t radius) {
    return (*this)("<circle cx=\"", l.X(p.x), "\" cy=\"", l.Y(p.y), "\" r=\"", l.Px(radius), "\"/>");
  }
  template <typename Text>
  Svg& Label(int64_t x, int64_t y, const Text& text) {
    return (*this)("<text x=\"", x, "\" y=\"", y, "\">", text, "</text>");
  }

 private:
  void Put(std::string_view text) { out.Text(text); }
  void Put(int64_t value) { out.Int(static_cast<int32_t>(value)); }

  OutFile& out;
  const Layout& l;
};

// Axes left of and below the drawing, with their marks and coordinates, and the
// base line across the whole drawing, dashed as in the PostScript picture.
void DrawAxes(const Layout& l, Svg& svg) {
  const int64_t axisX = l.left - l.Px(12), axisY = l.Y(l.minY) + l.Px(12);
  const int64_t stepX = TickStep(l.maxX - l.minX), stepY = TickStep(l.maxY - l.minY);
  const int64_t firstX = -FloorDiv(-l.minX, stepX) * stepX, firstY = -FloorDiv(-l.minY, stepY) * stepY;
  svg("<path fill=\"none\" stroke=\"#808080\" stroke-width=\"", l.Px(1), "\" d=\"M", axisX, " ", l.Y(l.maxY),
      "V", axisY, "H", l.X(l.maxX));
  for (int64_t x = firstX; x <= l.maxX; x += stepX) svg("M", l.X(x), " ", axisY, "v", l.Px(5));
  for (int64_t y = firstY; y <= l.maxY; y += stepY) svg("M", axisX, " ", l.Y(y), "h", -l.Px(5));
  svg("\"/>\n<g fill=\"#404040\" text-anchor=\"middle\">");
  for (int64_t x = firstX; x <= l.maxX; x += stepX) svg.Label(l.X(x), axisY + l.Px(18), x);
  svg("</g>\n<g fill=\"#404040\" text-anchor=\"end\">");
  for (int64_t y = firstY; y <= l.maxY; y += stepY) svg.Label(axisX - l.Px(8), l.Y(y) + l.Px(4), y);
  svg("</g>\n<path stroke=\"#000\" stroke-width=\"", l.Px(2), "\" stroke-dasharray=\"", l.Px(6), " ", l.Px(4),
      "\" d=\"M", l.X(l.minX), " ", l.Y(0), "H", l.X(l.maxX), "\"/>\n");
}

// The outline as one path: the first vertex, then each step to the next.
void DrawOutline(const Layout& l, const std::vector<Point>& vertices, Svg& svg) {
  svg("<path fill=\"#dce6f2\" fill-rule=\"evenodd\" stroke=\"#000\" stroke-linejoin=\"round\" "
      "stroke-width=\"",
      l.Px(1), "\" d=\"M")
      .At(vertices[0])("l");
  for (size_t i = 1; i < vertices.size(); ++i)
    svg(l.X(vertices[i].x) - l.X(vertices[i - 1].x), " ", l.Y(vertices[i].y) - l.Y(vertices[i - 1].y), " ");
  svg("z\"/>\n");
}

void DrawViolation(const Layout& l, const FenceTest& test, const Violation& violation, Svg& svg) {
  svg("<g fill=\"none\" stroke=\"", Red, "\" stroke-width=\"", l.Px(3), "\">");
  if (violation.a) svg.Circle(test.a, 9);
  if (violation.b) svg.Circle(test.b, 9);
  for (const size_t j : violation.vertices) svg.Circle(test.vertices[j], 9);
  if (!violation.edges.empty()) {
    svg("<path stroke-linecap=\"round\" d=\"");
    for (const size_t e : violation.edges)
      svg("M").At(test.vertices[e])("L").At(test.vertices[(e + 1) % test.vertices.size()]);
    svg("\"/>");
  }
  svg("</g>\n<text x=\"", l.left, "\" y=\"", l.height - l.Px(20), "\" fill=\"", Red, "\" font-size=\"",
      l.Px(16), "\">", Escaped(violation.text), "</text>\n");
}

}  // namespace

void DrawSvg(const FenceTest& test, const Violation& violation, OutFile& out) {
  const Layout l(test);
  Svg svg(out, l);
  svg("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"", l.width / l.pixel, "\" height=\"",
      l.height / l.pixel, "\" viewBox=\"0 0 ", l.width, " ", l.height,
      "\" font-family=\"sans-serif\" font-size=\"", l.Px(12), "\">\n<rect width=\"", l.width, "\" height=\"",
      l.height, "\" fill=\"#fff\"/>\n");
  DrawAxes(l, svg);
  DrawOutline(l, test.vertices, svg);
  if (test.vertices.size() <= LabelledVertices) {
    svg("<g>");
    for (const Point v : test.vertices) svg.Circle(v, 2);
    svg("</g>\n<g fill=\"#505050\" font-size=\"", l.Px(11), "\">");
    for (size_t j = 0; j < test.vertices.size(); ++j) {
      const Point v = test.vertices[j];
      svg.Label(l.X(v.x) + l.Px(4), l.Y(v.y) - l.Px(4), static_cast<int64_t>(j + 3));
    }
    svg("</g>\n");
  }
  svg("<g fill=\"", Blue, "\" text-anchor=\"middle\">");
  for (const auto& [p, name] : {std::pair{test.a, "A ("}, std::pair{test.b, "B ("}}) {
    svg.Circle(p, 4)("<text x=\"", l.X(p.x), "\" y=\"", l.Y(p.y) - l.Px(10), "\">", name, int64_t{p.x}, ", ",
                     int64_t{p.y}, ")</text>");
  }
  svg("</g>\n");
  if (!violation.text.empty()) DrawViolation(l, test, violation, svg);
  svg("</svg>\n");
  out.Close();
}

Pixel SvgPixel(const FenceTest& test, Point p) {
  const Layout l(test);
  const double pixel = static_cast<double>(l.pixel);
  return {static_cast<double>(l.X(p.x)) / pixel, static_cast<double>(l.Y(p.y)) / pixel};
}

}  // namespace quillot
