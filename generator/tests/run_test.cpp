// quillot end to end: the built program run in a temporary folder.
#include <filesystem>

#include "draw.h"
#include "fence.h"
#include "support.h"

using namespace quillot;

namespace {

const std::string QuillotPath = QUILLOT;
const std::string OldIn = std::string(1000, '#') + "\n";
const std::string OldPs = "old picture\n";

class Quillot : public InTempDir {};

// The argument decides: a refusal (status 1, no file touched), or a test of
// that many vertices, with or without a new picture.
TEST_F(Quillot, ArgumentsDecideTheTest) {
  const std::string tab12 = "'\t12'", cut12 = "'" + std::string(253, ' ') + "12345'";
  const std::string cutZeros = "'" + std::string(255, '0') + "x'";
  const struct {
    std::string arguments;
    const char* out;
    int vertices;  // 0: refused
    bool picture;
  } cases[] = {
      {"", "Usage: quillot <N>\n", 0, false},
      {"''", "Usage: quillot <N>\n", 0, false},
      {"'12 '", "Usage: quillot <N>\n", 0, false},
      {"1.5", "Usage: quillot <N>\n", 0, false},
      {"1e3", "Usage: quillot <N>\n", 0, false},
      {"abc", "Usage: quillot <N>\n", 0, false},
      {"0x10", "Usage: quillot <N>\n", 0, false},
      {"-", "Usage: quillot <N>\n", 0, false},
      {"'$'", "Usage: quillot <N>\n", 0, false},
      {"'- 5'", "Usage: quillot <N>\n", 0, false},
      {"2147483648", "Usage: quillot <N>\n", 0, false},
      {"30001", "N is too large\n", 0, false},
      {"12", "", 12, true},
      {"0012", "", 12, true},
      {"+12", "", 12, true},
      {"' 12'", "", 12, true},
      {tab12, "", 12, true},
      {"'$C'", "", 12, true},
      {"'$c'", "", 12, true},
      {"%1100", "", 12, true},
      {"'&14'", "", 12, true},
      {"12 99999 x", "", 12, true},
      {cut12, "", 12, true},
      {cutZeros, "", 4, true},
      {"-2147483648", "", 4, true},
      {"0", "", 4, true},
      {"-7", "", 4, true},
      {"3", "", 4, true},
      {"4", "", 4, true},
      {"5", "", 4, true},
      {"6", "", 8, true},
      {"10", "", 12, true},
      {"301", "", 300, true},
      {"302", "", 304, false},
      {"30000", "", 30000, false},
  };
  for (const auto& c : cases) {
    WriteFile("fence.in", OldIn);
    WriteFile("fence.ps", OldPs);
    const Outcome run = Shell(QuillotPath + " " + c.arguments);
    SCOPED_TRACE("quillot " + c.arguments.substr(0, 20));
    EXPECT_EQ(run.status, c.vertices == 0 ? 1 : 0);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "");
    const std::string in = ReadFile("fence.in"), ps = ReadFile("fence.ps");
    if (c.vertices == 0) {
      EXPECT_EQ(in, OldIn);
    } else {
      EXPECT_EQ(in.substr(in.find('\n') + 1, in.find('\n', in.find('\n') + 1) - in.find('\n')),
                std::to_string(c.vertices) + "\n");
      EXPECT_EQ(std::count(in.begin(), in.end(), '\n'), c.vertices + 2);
    }
    EXPECT_EQ(ps != OldPs, c.picture);
    if (c.picture) {
      EXPECT_EQ(std::count(ps.begin(), ps.end(), '\n'), c.vertices + 27);
    }
  }
}

// Under a fixed clock the run makes the test that its seconds give as seed.
TEST_F(Quillot, ClockSeedsTheTest) {
  const uint32_t seed = 1767323045;  // 2026-01-02 03:04:05 UTC
  // The sanitizer runtime must come first among the libraries; faketime's is preloaded.
  const std::string faketime =
      "TZ=UTC ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 "
      "faketime -f '2026-01-02 03:04:05' " +
      QuillotPath + " ";
  std::filesystem::create_directory("run");
  for (int32_t n : {4, 5, 12, 13, 64, 299, 300, 301, 1001, 29999, 30000}) {
    SCOPED_TRACE("N = " + std::to_string(n));
    const Outcome run = Shell("cd run && rm -f fence.ps && " + faketime + std::to_string(n));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.err, "");
    BuildFence(n, n % 2 != 0, seed);
    WriteFenceIn();
    EXPECT_EQ(ReadFile("run/fence.in"), ReadFile("fence.in"));
    if (vertexCount <= 300) {
      DrawFence(DrawScale());
      EXPECT_EQ(ReadFile("run/fence.ps"), ReadFile("fence.ps"));
    } else {
      EXPECT_FALSE(Exists("run/fence.ps"));
    }
  }
}

TEST_F(Quillot, FileFailureEndsTheRunWithTheReport) {
  const struct {
    const char* setup;
    int status;
    const char* report;
  } cases[] = {
      {"mkdir fence.in", 5, "Runtime error 5 at $00001001\n  opening \"fence.in\": Is a directory\n"},
      {"ln -s /dev/full fence.in", 101,
       "Runtime error 101 at $00001003\n  writing \"fence.in\": No space left on device\n"},
      {"mkdir fence.ps", 5, "Runtime error 5 at $00002001\n  opening \"fence.ps\": Is a directory\n"},
      {"ln -s /dev/full fence.ps", 101,
       "Runtime error 101 at $00002003\n  writing \"fence.ps\": No space left on device\n"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Shell(c.setup).status, 0);
    const Outcome run = Shell(QuillotPath + " 12");
    EXPECT_EQ(run.status, c.status) << c.setup;
    EXPECT_EQ(run.out, c.report);
    EXPECT_EQ(run.err, "");
    Shell("rm -rf fence.in fence.ps");
  }
}

// With three descriptors taken by the standard streams and one left, the run
// writes "fence.in" and creates "fence.ps", then cannot open "fence.in" again.
// (With none left, the loader of the program could not open its libraries.)
TEST_F(Quillot, NoFileDescriptorLeft) {
  // Descriptors inherited from the test runner are closed first. The leak check
  // needs descriptors of its own at the exit.
  const Outcome run = Shell(
      "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 "
      "sh -c 'exec 3>&- 4>&- 5>&- 6>&- 7>&- 8>&- 9>&-; ulimit -n 4; exec " +
      QuillotPath + " 12'");
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out, "Runtime error 4 at $00003001\n  opening \"fence.in\": Too many open files\n");
  EXPECT_EQ(run.err, "");
}

}  // namespace
