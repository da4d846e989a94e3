// quillot-draw end to end: its pictures drawn by a real renderer, the violation's
// red where the violation is, its statuses and its reports.
#include "draw_svg.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "support.h"

using namespace quillot;

namespace {

class QuillotDraw : public support::InTempDir {};

// Counts the pure-red pixels of the picture, and those within 12 pixels of at.
struct Red {
  int all = 0, near = 0;
};
Red CountRed(const support::Image& png, Pixel at) {
  Red red;
  for (int row = 0; row < png.height; ++row) {
    for (int column = 0; column < png.width; ++column) {
      const auto channel = [&](int k) {
        return static_cast<unsigned char>(
            png.pixels[(static_cast<size_t>(row) * png.width + column) * 3 + k]);
      };
      if (channel(0) < 250 || channel(1) > 5 || channel(2) > 5) continue;
      ++red.all;
      red.near += std::hypot(column + 0.5 - at.x, row + 0.5 - at.y) <= 12;
    }
  }
  return red;
}

// A fence of n vertices: a zigzag above the base line, back below it.
std::string Zigzag(size_t n) {
  std::string text = "0 0 " + std::to_string(n) + " 0\n" + std::to_string(n) + "\n";
  for (size_t i = 0; i + 2 < n; ++i)
    text += std::to_string(i + 1) + " " + std::to_string(1 + 5 * (i % 2)) + "\n";
  return text + std::to_string(n - 2) + " -1\n1 -1\n";
}

// The vertex labels of a picture, in their order: the line each names, and
// where it stands in pixels.
struct Label {
  size_t line;
  Pixel at;
};
std::vector<Label> VertexLabels(const std::string& svg) {
  double shown = 0, frame = 0;
  std::sscanf(svg.c_str(),
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%lf\" height=\"%*d\" viewBox=\"0 0 %lf",
              &shown, &frame);
  const size_t group = svg.find("<g fill=\"#505050\""), end = svg.find("</g>", group);
  std::vector<Label> labels;
  for (size_t text = svg.find("<text", group); group != std::string::npos && text < end;
       text = svg.find("<text", text + 1)) {
    double x = 0, y = 0;
    size_t line = 0;
    std::sscanf(svg.c_str() + text, "<text x=\"%lf\" y=\"%lf\">%zu", &x, &y, &line);
    labels.push_back({line, {x * shown / frame, y * shown / frame}});
  }
  return labels;
}

// rsvg-convert draws every picture; a violation is drawn in red at the point it
// concerns, and its caption is quillot-validate's line. A text that is no test
// gets that line and no picture; I/O failures are reported on standard error.
TEST_F(QuillotDraw, DrawsTheTestAndItsViolation) {
  const std::string head = "0 0 6 0\n", square = "4\n1 1\n3 1\n3 -1\n1 -1\n";
  const std::string draw = std::string(QUILLOT_DRAW) + " <test.in";
  const struct {
    std::string input;  // of "test.in"
    int status;
    Point red;  // where the violation is drawn, when there is one
    std::string command = "";
    std::string err = "";
  } cases[] = {
      {support::run_shell(".", std::string(QUILLOT_GEN) + " 12 3").out, 0, {}},
      {support::run_shell(".", std::string(QUILLOT_GEN) + " 30000 1").out, 0, {}},
      {support::run_shell(".", std::string(QUILLOT_GEN) + " 29999 1").out, 0, {}},
      {Zigzag(LabelledVertices), 0, {}},  // the most vertices that carry their lines
      {Zigzag(LabelledVertices + 1), 0, {}},
      {head + "4\n1 1\n3 -1\n3 1\n1 -1\n", 43, {2, 0}},  // the crossing of two edges
      {head + "4\n1 1\n1 1\n3 1\n3 -1\n", 43, {1, 1}},   // a repeated vertex
      {head + "4\n1 1\n3 1\n3 0\n1 -1\n", 43, {3, 0}},   // a vertex on y = 0
      {"0 0 3 0\n" + square, 43, {3, 1}},                // a vertex not left of the second point
      {"0 0 6 1\n" + square, 43, {6, 1}},                // the second point off y = 0
      {"0 1 6 0\n" + square, 43, {0, 1}},                // the first point off y = 0
      {head, 43, {}},                                    // no test: the validator's line alone
      {head + square,
       101,
       {},
       " >/dev/full",
       "Runtime error 101 at $00005003\n  writing \"standard output\": No space left on device\n"},
      {head + square,
       6,
       {},
       " <&-",
       "Runtime error 6 at $00006002\n  reading \"standard input\": Bad file descriptor\n"},
  };
  for (const auto& c : cases) {
    support::write_file("test.in", c.input);
    const std::string verdict = support::run_shell(".", std::string(QUILLOT_VALIDATE) + " <test.in").out;
    const support::ShellRun run = support::run_shell(".", draw + c.command);
    SCOPED_TRACE(c.input.substr(0, 40) + c.command);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
    if (c.status > 43) continue;
    if (run.out.rfind("<svg", 0) != 0) {
      EXPECT_EQ(run.out, verdict);  // CheckFormat's line, printed as the validator prints it
      continue;
    }
    EXPECT_LT(run.out.size(), 1u << 20);
    if (c.status == 43) {
      EXPECT_NE(run.out.find("\">" + verdict.substr(0, verdict.size() - 1) + "</text>"), std::string::npos);
    }
    support::write_file("fence.svg", run.out);
    ASSERT_EQ(support::run_shell(".", "rsvg-convert -f png fence.svg | pngtopnm >page.ppm").status, 0);
    const support::Image png = support::read_netpbm("page.ppm");
    ASSERT_EQ(png.magic, "P6");
    ASSERT_EQ(png.pixels.size(), static_cast<size_t>(png.width) * png.height * 3);
    FenceTest test;
    ASSERT_EQ(CheckFormat(c.input, test).text, "");
    // Each vertex of a small test carries its line just above and right of it.
    const std::vector<Label> labels = VertexLabels(run.out);
    EXPECT_EQ(labels.size(), test.vertices.size() <= LabelledVertices ? test.vertices.size() : 0);
    for (size_t j = 0; j < labels.size(); ++j) {
      const Pixel vertex = SvgPixel(test, test.vertices[j]);
      EXPECT_EQ(labels[j].line, j + 3);
      EXPECT_TRUE(labels[j].at.x > vertex.x && labels[j].at.x < vertex.x + 10) << labels[j].line;
      EXPECT_TRUE(labels[j].at.y < vertex.y && labels[j].at.y > vertex.y - 10) << labels[j].line;
    }
    const Red red = CountRed(png, SvgPixel(test, c.red));
    if (c.status == 0) {
      EXPECT_EQ(red.all, 0);
      EXPECT_EQ(run.out.find("#ff0000"), std::string::npos);  // nor an empty violation
    } else {
      EXPECT_GT(red.near, 10);
      EXPECT_GT(red.all - red.near, 100);  // the caption
    }
  }
}

}  // namespace
