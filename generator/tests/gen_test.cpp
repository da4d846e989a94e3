// quillot-gen end to end: the test of a seed, and its messages on standard error.
#include "support.h"

namespace {

const std::string GenPath = QUILLOT_GEN;

class QuillotGen : public support::InTempDir {};

// quillot under a fixed clock and quillot-gen given those seconds write the same bytes.
TEST_F(QuillotGen, WritesTheTestQuillotMakesInThatSecond) {
  const struct {
    const char* seed;
    const char* clock;
  } seconds[] = {
      {"0", "1970-01-01 00:00:00"},
      {"2147483647", "2038-01-19 03:14:07"},
      {"2147483648", "2038-01-19 03:14:08"},
      {"4294967295", "2106-02-07 06:28:15"},
  };
  for (const auto& second : seconds) {
    for (const char* n : {"4", "5", "64", "65", "29999", "30000"}) {
      SCOPED_TRACE(std::string("N = ") + n + ", seed " + second.seed);
      ASSERT_EQ(
          support::run_shell(".", support::faketime(second.clock) + QUILLOT + std::string(" ") + n).status,
          0);
      const support::ShellRun gen = support::run_shell(".", GenPath + " " + n + " " + second.seed);
      EXPECT_EQ(gen.status, 0);
      EXPECT_EQ(gen.err, "");
      EXPECT_TRUE(gen.out == support::read_file("fence.in")) << "the two tests differ";
    }
  }
}

// Refusals and I/O failures are reported on standard error, never with status 0,
// and no file is written.
TEST_F(QuillotGen, MessagesGoToStandardError) {
  const std::string usage = "Usage: quillot-gen <N> <seed>\n";
  const struct {
    std::string arguments;
    int status;
    std::string out, err;
    std::string then = "";  // where its standard output goes on
  } cases[] = {
      {" 3 4294967295 9", 0, "0 0 6 0\n4\n1 1\n2 2\n3 1\n2 -1\n", ""},
      {"", 1, "", usage},
      {" 12", 1, "", usage},
      {" 12 4294967296", 1, "", usage},
      {" 12 007", 1, "", usage},
      {" 12 -1", 1, "", usage},
      {" 30001 x", 1, "", usage},
      {" 30001 7", 1, "", "N is too large\n"},
      {" 12 7 >/dev/full", 101, "",
       "Runtime error 101 at $00005003\n  writing \"standard output\": No space left on device\n"},
      {" 12 7 >&-", 6, "",
       "Runtime error 6 at $00005003\n  writing \"standard output\": Bad file descriptor\n"},
      {" 30000 7", 101, "", "Runtime error 101 at $00005003\n  writing \"standard output\": Broken pipe\n",
       " | head -c 1 >/dev/null"},
  };
  for (const auto& c : cases) {
    const support::ShellRun run =
        support::run_shell(".", "{ " + GenPath + c.arguments + "; echo $? >status; }" + c.then);
    EXPECT_EQ(support::read_file("status"), std::to_string(c.status) + "\n") << c.arguments;
    EXPECT_EQ(run.out, c.out) << c.arguments;
    EXPECT_EQ(run.err, c.err) << c.arguments;
  }
  EXPECT_EQ(support::run_shell(".", "ls").out, "status\n");
}

}  // namespace
