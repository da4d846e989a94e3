// quillot end to end: the built program run in a temporary folder.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "draw.h"
#include "fence.h"
#include "fence_in.h"
#include "io.h"
#include "support.h"

using namespace quillot;

namespace {

const std::string QuillotPath = QUILLOT;
const std::string OldIn = std::string(1000, '#') + "\n";
const std::string OldPs = "old picture\n";

class Quillot : public support::InTempDir {};

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
    const char* in = nullptr;  // the whole of "fence.in", where every seed gives the same
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
      {"3", "", 4, true, "0 0 6 0\n4\n1 1\n2 2\n3 1\n2 -1\n"},
      {"4", "", 4, true},
      {"5", "", 4, true, "0 0 4 0\n4\n1 1\n2 1\n2 -1\n1 -1\n"},
      {"6", "", 8, true},
      {"10", "", 12, true},
      {"301", "", 300, true},
      {"302", "", 304, false},
      {"30000", "", 30000, false},
  };
  for (const auto& c : cases) {
    support::write_file("fence.in", OldIn);
    support::write_file("fence.ps", OldPs);
    const support::ShellRun run = support::run_shell(".", QuillotPath + " " + c.arguments);
    SCOPED_TRACE("quillot " + c.arguments.substr(0, 20));
    EXPECT_EQ(run.status, c.vertices == 0 ? 1 : 0);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "");
    const std::string in = support::read_file("fence.in"), ps = support::read_file("fence.ps");
    if (c.vertices == 0) {
      EXPECT_EQ(in, OldIn);
    } else {
      EXPECT_EQ(in.substr(in.find('\n') + 1, in.find('\n', in.find('\n') + 1) - in.find('\n')),
                std::to_string(c.vertices) + "\n");
      EXPECT_EQ(std::count(in.begin(), in.end(), '\n'), c.vertices + 2);
      if (c.in != nullptr) {
        EXPECT_EQ(in, c.in);
      }
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
  const std::string faketime = support::faketime("2026-01-02 03:04:05") + QuillotPath + " ";
  std::filesystem::create_directory("run");
  for (int32_t n : {4, 5, 12, 13, 64, 299, 300, 301, 1001, 29999, 30000}) {
    SCOPED_TRACE("N = " + std::to_string(n));
    const support::ShellRun run =
        support::run_shell(".", "cd run && rm -f fence.ps && " + faketime + std::to_string(n));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.err, "");
    BuildFence(n, n % 2 != 0, seed);
    WriteFenceIn();
    EXPECT_EQ(support::read_file("run/fence.in"), support::read_file("fence.in"));
    if (vertexCount <= 300) {
      DrawFence(DrawScale());
      EXPECT_EQ(support::read_file("run/fence.ps"), support::read_file("fence.ps"));
    } else {
      EXPECT_FALSE(support::exists("run/fence.ps"));
    }
  }
}

TEST_F(Quillot, FileFailureEndsTheRunWithTheReport) {
  const struct {
    const char* setup;
    int status;
    const char* report;
    std::string before = "";  // shell text before the program, and its arguments
    std::string arguments = " 12";
  } cases[] = {
      {"mkdir fence.in", 5, "Runtime error 5 at $00001001\n  opening \"fence.in\": Is a directory\n"},
      {"ln -s /dev/full fence.in", 101,
       "Runtime error 101 at $00001003\n  writing \"fence.in\": No space left on device\n"},
      {"mkdir fence.ps", 5, "Runtime error 5 at $00002001\n  opening \"fence.ps\": Is a directory\n"},
      {"ln -s /dev/full fence.ps", 101,
       "Runtime error 101 at $00002003\n  writing \"fence.ps\": No space left on device\n"},
      {"ln -s fence.in fence.in", 40,
       "Runtime error 40 at $00001001\n  opening \"fence.in\": Too many levels of symbolic links\n"},
      {":", 27, "Runtime error 27 at $00001003\n  writing \"fence.in\": File too large\n", "ulimit -f 8 && ",
       " 30000"},
      {"mkfifo fence.in", 101, "Runtime error 101 at $00001003\n  writing \"fence.in\": Broken pipe\n",
       "head -c 1 fence.in >/dev/null & ", " 30000"},
      // Started without standard output, the report goes nowhere rather than into "fence.ps".
      {"ln -s /dev/null fence.in", 106, "", "", " 12 >&-"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(support::run_shell(".", c.setup).status, 0);
    const support::ShellRun run = support::run_shell(".", c.before + QuillotPath + c.arguments);
    EXPECT_EQ(run.status, c.status) << c.setup << c.before;
    EXPECT_EQ(run.out, c.report);
    EXPECT_EQ(run.err, "");
    if (std::filesystem::is_regular_file("fence.ps")) {
      EXPECT_EQ(support::read_file("fence.ps").find("Runtime error"), std::string::npos);
    }
    support::run_shell(".", "rm -rf fence.in fence.ps");
  }
}

// Every row of the README's table, and an error it does not list, which keeps its number.
TEST(IoErrorOf, MapsSystemErrorsToIoErrors) {
  const struct {
    int systemError, ioError;
  } cases[] = {
      {ENOENT, 2},   {ENAMETOOLONG, 3}, {EMFILE, 4},    {ENFILE, 4}, {EACCES, 5},   {EEXIST, 5},
      {EISDIR, 5},   {EROFS, 5},        {ENOTEMPTY, 5}, {EBADF, 6},  {EINTR, 101},  {EIO, 101},
      {EAGAIN, 101}, {ENOSPC, 101},     {EPIPE, 101},   {0, 101},    {ENOMEM, 217}, {EFAULT, 217},
      {EINVAL, 218}, {ELOOP, 40},       {EFBIG, 27},
  };
  for (const auto& c : cases) EXPECT_EQ(IoErrorOf(c.systemError), c.ioError) << std::strerror(c.systemError);
}

// The report gives the system's reason; a failure that comes without one (errno
// 0) is an input/output error, never "Success".
TEST(SystemFailure, GivesTheSystemsReason) {
  const struct {
    int systemError;
    const char* report;
  } cases[] = {
      {ENOSPC, "Runtime error 101 at $00001003\n  writing \"fence.in\": No space left on device\n"},
      {0, "Runtime error 101 at $00001003\n  writing \"fence.in\": input/output error\n"},
  };
  for (const auto& c : cases) {
    std::FILE* report = std::tmpfile();
    ASSERT_NE(report, nullptr);
    ioReport = report;
    ioFailureHook = [](int status) { throw status; };
    int status = 0;
    try {
      errno = c.systemError;
      SystemFailure(WritingFenceIn + OnWrite, "fence.in");
    } catch (int exitStatus) {
      status = exitStatus;
    }
    ioReport = stdout;
    ioFailureHook = nullptr;
    std::rewind(report);
    std::string text;
    for (int ch = std::getc(report); ch != EOF; ch = std::getc(report)) text += static_cast<char>(ch);
    std::fclose(report);
    EXPECT_EQ(status, 101);
    EXPECT_EQ(text, c.report);
  }
}

// A closed standard stream is filled with "/dev/null" before any file can take its descriptor.
TEST(KeepStandardStreams, FillsEachClosedDescriptor) {
  struct stat null {};
  ASSERT_EQ(stat("/dev/null", &null), 0);
  for (int descriptor : {0, 1, 2}) {
    const int saved = dup(descriptor);
    close(descriptor);
    KeepStandardStreams();
    struct stat now {};
    EXPECT_EQ(fstat(descriptor, &now), 0) << descriptor;
    EXPECT_EQ(now.st_rdev, null.st_rdev) << descriptor;
    dup2(saved, descriptor);
    close(saved);
  }
}

// With three descriptors taken by the standard streams and one left, the run
// writes "fence.in" and creates "fence.ps", then cannot open "fence.in" again.
// (With none left, the loader of the program could not open its libraries.)
TEST_F(Quillot, NoFileDescriptorLeft) {
  // Descriptors inherited from the test runner are closed first. The leak check
  // needs descriptors of its own at the exit.
  const support::ShellRun run =
      support::run_shell(".",
                         "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 "
                         "sh -c 'exec 3>&- 4>&- 5>&- 6>&- 7>&- 8>&- 9>&-; ulimit -n 4; exec " +
                             QuillotPath + " 12'");
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out, "Runtime error 4 at $00003001\n  opening \"fence.in\": Too many open files\n");
  EXPECT_EQ(run.err, "");
}

}  // namespace
