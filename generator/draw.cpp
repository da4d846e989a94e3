// The picture "fence.ps": "fence.in" read back from the disk and drawn on one A3 page.
#include "draw.h"

#include <charconv>
#include <cstring>

#include "fence.h"
#include "io.h"

namespace quillot {

namespace {

constexpr int32_t yOffset = 595;  // page Y of y = 0, half the page height

constexpr std::string_view PsHeader =
    "%!PS-Adobe-2.0\n"
    "%%Orientation: Portrait\n"
    "%%BoundingBox: 0 0 842 1190\n"
    "%%DocumentPaperSizes: a3\n"
    "%%BeginSetup\n"
    "[{\n"
    "%BeginFeature: *PageRegion A3\n"
    "<</PageSize [842 1190]>> setpagedevice\n"
    "%EndFeature\n"
    "} stopped cleartomark\n"
    "%%EndSetup\n"
    "%%Magnification: 1.0000\n"
    "%%EndComments \n";

constexpr std::string_view PsTrailer = "stroke\nshowpage\n%%Trailer\n%%EOF\n";

class Renderer {
 public:
  explicit Renderer(double scale) : scale(scale) {}

  void WritePsHeader() { ps.Text(PsHeader); }
  void Text(std::string_view text) { ps.Text(text); }
  void EmitMoveTo(int64_t x, int64_t y) { Emit(x, y, " moveto\n"); }
  void EmitLineTo(int64_t x, int64_t y) { Emit(x, y, " lineto\n"); }
  void WritePsTrailer() {
    ps.Text(PsTrailer);
    ps.Close();
  }

 private:
  void Emit(int64_t x, int64_t y, std::string_view word) {
    const PagePoint p = MapToPage(scale, x, y);
    ps.Text(FixedField(p.x).View());
    ps.Text(" ");
    ps.Text(FixedField(p.y).View());
    ps.Text(word);
  }

  double scale;
  OutFile ps{"fence.ps", WritingFencePs};
};

Point ReadVertex(InFile& in) {
  const Point p{in.Int(), in.Int()};
  in.SkipLine();
  return p;
}

}  // namespace

PagePoint MapToPage(double scale, int64_t x, int64_t y) {
  // Y is summed in extended precision and rounded once.
  double pageY = static_cast<double>(yOffset + static_cast<long double>(scale) * y);
  if (pageY > 1190) pageY = 1188;
  if (pageY < 0) pageY = 2;
  return {scale * static_cast<double>(x), pageY};
}

Field FixedField(double value) {
  constexpr size_t FieldWidth = 8;
  Field field;
  field.size =
      std::to_chars(field.text, field.text + sizeof field.text, value, std::chars_format::fixed, 2).ptr -
      field.text;
  if (field.size < FieldWidth) {
    const size_t pad = FieldWidth - field.size;
    std::memmove(field.text + pad, field.text, field.size);
    std::memset(field.text, ' ', pad);
    field.size = FieldWidth;
  }
  return field;
}

double DrawScale() {
  // The quotient is formed in extended precision and rounded once.
  return static_cast<double>(oddN ? 1680.0L / (vertexCount + 1) : 840.0L / vertexCount);
}

void DrawFence(double scale) {
  Renderer page(scale);  // creates "fence.ps" before "fence.in" is opened
  page.WritePsHeader();
  InFile in("fence.in", ReadingFenceIn);
  const Point a{in.Int(), in.Int()};
  const Point b{in.Int(), in.Int()};
  in.SkipLine();
  const int32_t n = in.Int();
  in.SkipLine();
  vertexCount = n;

  // The base line ends two units right of pointB: dashed and thick, then thin and solid.
  page.Text("1 setlinewidth\n");
  page.EmitMoveTo(a.x, a.y);
  page.Text("[5] 0 setdash\n");
  page.EmitLineTo(b.x + int64_t{2}, b.y);
  page.Text("stroke\n[] 0 setdash\n0.1 setlinewidth\n");
  page.EmitMoveTo(a.x, a.y);
  page.EmitLineTo(b.x + int64_t{2}, b.y);

  // The outline, one vertex at a time, closed by an explicit segment to the first.
  const Point first = ReadVertex(in);
  page.EmitMoveTo(first.x, first.y);
  for (int32_t i = 1; i < n; ++i) {
    const Point p = ReadVertex(in);
    page.EmitLineTo(p.x, p.y);
  }
  page.EmitLineTo(first.x, first.y);
  in.Close();
  page.WritePsTrailer();
}

}  // namespace quillot
