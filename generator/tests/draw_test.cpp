// Integer conversion and the picture "fence.ps".
#include "draw.h"

#include "fence.h"
#include "fence_in.h"
#include "parse.h"
#include "support.h"

using namespace quillot;

namespace {

TEST(ParseInt32, AcceptsOneLiteralAndNothingElse) {
  const struct {
    const char* text;
    bool valid;
    int32_t value;
  } cases[] = {
      {"12", true, 12},
      {"0012", true, 12},
      {"+12", true, 12},
      {" 12", true, 12},
      {"\t 12", true, 12},
      {"$C", true, 12},
      {"$c", true, 12},
      {"%1100", true, 12},
      {"&14", true, 12},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"$FFFFFFFF", true, -1},
      {"-$1", true, -1},
      {"-$80000000", true, INT32_MIN},
      {"-$FFFFFFFF", true, 1},
      {"00", true, 0},
      {"$0", true, 0},
      {"%0", true, 0},
      {"&0", true, 0},
      {"$00000000000000001", true, 1},
      {"12 ", false, 0},
      {"0x10", false, 0},
      {"1.5", false, 0},
      {"1e3", false, 0},
      {"abc", false, 0},
      {"%2", false, 0},
      {"&8", false, 0},
      {"$G", false, 0},
      {"+", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"%", false, 0},
      {"&", false, 0},
      {"+-5", false, 0},
      {"- 5", false, 0},
      {"$-1", false, 0},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"$100000000", false, 0},
      {"99999999999999999999", false, 0},
      {"", false, 0},
      {"  \t", false, 0},
      {"1\n", false, 0},
  };
  for (const auto& c : cases) {
    int32_t value = 77;
    EXPECT_EQ(ParseInt32(c.text, value), c.valid) << '"' << c.text << '"';
    EXPECT_EQ(value, c.valid ? c.value : 0) << '"' << c.text << '"';
  }
}

TEST(MapToPage, ClampsYOnlyAndFormatsFixedFields) {
  const struct {
    double scale;
    int64_t x, y;
    const char* fields;
  } cases[] = {
      {336, 1, 1, "  336.00   931.00"},         {336, 1, 2, "  336.00  1188.00"},  // above the top edge
      {336, 1, -2, "  336.00     2.00"},                                           // below the bottom edge
      {5, 0, 119, "    0.00  1190.00"},  // the top edge itself stays
      {5, 0, -119, "    0.00     0.00"},        {336, 6, 0, " 2016.00   595.00"},  // x is never limited
      {1680.0 / 41, 1, 0, "   40.98   595.00"}, {0.5, 1, 0, "    0.50   595.00"},
      {2500, 4, 0, "10000.00   595.00"},        {1234567, 1, 0, "1234567.00   595.00"},
      {-12.5, 1, 0, "  -12.50   595.00"},       {1, -2147483648, 0, "-2147483648.00   595.00"},
  };
  for (const auto& c : cases) {
    const PagePoint p = MapToPage(c.scale, c.x, c.y);
    EXPECT_EQ(std::string(FixedField(p.x).View()) + " " + std::string(FixedField(p.y).View()), c.fields)
        << c.scale << " * (" << c.x << ", " << c.y << ")";
  }
  EXPECT_EQ(FixedField(123456.7).View(), "123456.70");
}

class Picture : public support::InTempDir {};

const std::string PsHeader =
    "%!PS-Adobe-2.0\n%%Orientation: Portrait\n%%BoundingBox: 0 0 842 1190\n%%DocumentPaperSizes: a3\n"
    "%%BeginSetup\n[{\n%BeginFeature: *PageRegion A3\n<</PageSize [842 1190]>> setpagedevice\n"
    "%EndFeature\n} stopped cleartomark\n%%EndSetup\n%%Magnification: 1.0000\n%%EndComments \n";

const std::string BaseLine =
    "1 setlinewidth\n    0.00   595.00 moveto\n[5] 0 setdash\n 2016.00   595.00 lineto\nstroke\n"
    "[] 0 setdash\n0.1 setlinewidth\n    0.00   595.00 moveto\n 2016.00   595.00 lineto\n";

const std::string PsTrailer = "stroke\nshowpage\n%%Trailer\n%%EOF\n";

const std::string SmallestRectangle =
    PsHeader + BaseLine +
    "  336.00   931.00 moveto\n  672.00   931.00 lineto\n  672.00   259.00 lineto\n"
    "  336.00   259.00 lineto\n  336.00   931.00 lineto\n" +
    PsTrailer;

// The smallest test of each variant, the same for every seed, drawn at its own scale.
TEST_F(Picture, SmallestTests) {
  const std::string tent =
      PsHeader +
      "1 setlinewidth\n    0.00   595.00 moveto\n[5] 0 setdash\n 1680.00   595.00 lineto\nstroke\n"
      "[] 0 setdash\n0.1 setlinewidth\n    0.00   595.00 moveto\n 1680.00   595.00 lineto\n"
      "  210.00   805.00 moveto\n  420.00  1015.00 lineto\n  630.00   805.00 lineto\n"
      "  420.00   385.00 lineto\n  210.00   805.00 lineto\n" +
      PsTrailer;
  const struct {
    int32_t n;
    double scale;
    const std::string& picture;
  } cases[] = {{5, 336, SmallestRectangle}, {4, 210, tent}};
  for (const auto& c : cases) {
    BuildFence(c.n, c.n % 2 != 0, 99u);
    WriteFenceIn();
    EXPECT_EQ(DrawScale(), c.scale);
    DrawFence(DrawScale());
    EXPECT_EQ(support::read_file("fence.ps"), c.picture) << "N = " << c.n;
  }
}

// Hand-made files, read back by the renderer on its own at scale 336.
TEST_F(Picture, ReadsTheTestFileByItsRules) {
  const std::string draw = std::string(FENCE_TOOL) + " 336";
  const std::string onePoint =
      PsHeader + BaseLine + "  336.00   931.00 moveto\n  336.00   931.00 lineto\n" + PsTrailer;
  const struct {
    const char* setup;
    std::string fenceIn;
    int status;
    std::string picture;  // or the report, when the status is not 0
  } cases[] = {
      {"", "0 0 4 0\n4\n1 1\n2 1\n2 -1\n1 -1\n", 0, SmallestRectangle},
      {"", "0 0 4 0\r\n4\r\n1 1\r\n2 1\r\n2 -1\r\n1 -1\r\n", 0, SmallestRectangle},
      {"", "0 0 4 0\r4\r1 1\r2 1\r2 -1\r1 -1", 0, SmallestRectangle},
      {"", "\t0\n 0 4\n\n0 junk 7\n4 more\n1 1 1\n2 1\n2 -1\n1 -1\ngarbage\n", 0, SmallestRectangle},
      {"", "0 0 4 0\n1\n1 1\n", 0, onePoint},
      {"", "0 0 4 0\n-3\n1 1 \n2 2\n", 0, onePoint},
      {"", "0 0 4 0\n4\n1 1\n2 1\n2 -1\n1\n \n\n", 106,
       "Runtime error 106 at $00003002\n  reading \"fence.in\": line 6: no number left\n"},
      {"", "0 0 4 0\n4\n1 1\n2 1\n", 106,
       "Runtime error 106 at $00003002\n  reading \"fence.in\": line 5: no number left\n"},
      {"", "0 0 4 0\n4\n1 1\n2 1.0\n", 106,
       "Runtime error 106 at $00003002\n  reading \"fence.in\": line 4: not a 32-bit integer\n"},
      {"", "0 0 4 0\r\n4\r\n1 1\r\n2 1.0\r\n", 106,  // a carriage return and a line feed end one line
       "Runtime error 106 at $00003002\n  reading \"fence.in\": line 4: not a 32-bit integer\n"},
      {"", "0 0 4 0\n4\n1 1\n2 " + std::string(300, '0') + "1\n", 106,
       "Runtime error 106 at $00003002\n  reading \"fence.in\": line 4: not a 32-bit integer\n"},
      {"rm fence.in", "", 2,
       "Runtime error 2 at $00003001\n  opening \"fence.in\": No such file or directory\n"},
      {"mkdir fence.ps", "0 0 4 0\n", 5,
       "Runtime error 5 at $00002001\n  opening \"fence.ps\": Is a directory\n"},
      {"ln -s /dev/full fence.ps", "0 0 4 0\n4\n1 1\n2 1\n2 -1\n1 -1\n", 101,
       "Runtime error 101 at $00002003\n  writing \"fence.ps\": No space left on device\n"},
  };
  for (const auto& c : cases) {
    support::run_shell(".", "rm -rf fence.in fence.ps");
    support::write_file("fence.in", c.fenceIn);
    if (*c.setup != '\0') support::run_shell(".", c.setup);
    const support::ShellRun run = support::run_shell(".", draw);
    EXPECT_EQ(run.status, c.status) << c.fenceIn;
    EXPECT_EQ(c.status == 0 ? support::read_file("fence.ps") : run.out, c.picture) << c.fenceIn;
    EXPECT_EQ(run.err, "");
    // A picture that fails while reading never gets its trailer.
    if (c.status == 106) {
      EXPECT_EQ(support::read_file("fence.ps").find("%%EOF"), std::string::npos);
    }
  }
}

// Ghostscript draws the generated pictures, and the outline shows above and below the base line.
TEST_F(Picture, GhostscriptRendersGeneratedPictures) {
  for (int32_t n : {4, 5, 12, 13, 64, 299, 300}) {
    BuildFence(n, n % 2 != 0, 1234u + n);
    WriteFenceIn();
    DrawFence(DrawScale());
    const support::ShellRun gs =
        support::run_shell(".", "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r30 -o page.pgm fence.ps");
    ASSERT_EQ(gs.status, 0) << gs.out << gs.err;
    const support::Image page = support::read_netpbm("page.pgm");
    const int width = page.width, height = page.height;
    const std::string& pixels = page.pixels;
    ASSERT_EQ(page.magic, "P5");
    EXPECT_EQ(width, 351);  // A3 at 30 dots per inch
    ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * height);
    int above = 0, below = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
      const int row = static_cast<int>(i / width);
      if (static_cast<unsigned char>(pixels[i]) < 128 && std::abs(row - height / 2) > 3)
        ++(row < height / 2 ? above : below);
    }
    EXPECT_GT(above, 10) << "N = " << n;
    EXPECT_GT(below, 10) << "N = " << n;
  }
}

}  // namespace
