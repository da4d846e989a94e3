// The judging systems' programs, each called exactly as its system calls it:
// status, both outputs and the feedback files together.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support.h"

namespace {

using support::Outcome;
using support::WorkedIn;
using support::WorkedOut;

const std::string Wrong = "12\n2 0\n5 1\n1 1\n";

struct Row {
  const char* name;
  std::string program;                 // $P in the command
  std::optional<std::string> in, out;  // the task "in" and the contestant's "out"; none: absent
  std::string command;  // run in a folder with "in", "out", "ans" (the jury's answer) and "fb/"
  int status;
  std::string stdout_text, stderr_text;
  std::string file = "", file_text = "";  // a file the program must have written
};

const std::string Testlib = BRANNIK_TESTLIB, Kattis = BRANNIK_KATTIS, Cms = BRANNIK_CMS,
                  Validate = BRANNIK_VALIDATE, Gen = BRANNIK_GEN;
const std::string GenUsage =
    "usage: brannik-gen random|chain|complete|comb|full <nodes> <N> <seed> [--degree=K] [--costs=LO,HI] "
    "[--load=LO,HI] [--store=LO,HI]\n";

const Row Table[] = {
    {"accepted", Testlib, WorkedIn, WorkedOut, "$P in out ans res", 0, "", "ok total cost 11\n", "res",
     "ok total cost 11\n"},
    {"rejected", Testlib, WorkedIn, Wrong, "$P in out ans res", 1, "", "wrong answer incorrect total cost\n",
     "res", "wrong answer incorrect total cost\n"},
    {"unusable input", Testlib, "0\n", WorkedOut, "$P in out ans", 3, "",
     "FAIL Error in input file: N out of range at line 1\n"},
    {"missing output", Testlib, WorkedIn, std::nullopt, "$P in out ans", 1, "",
     "wrong answer failed opening file\n"},
    {"bad call", Testlib, WorkedIn, WorkedOut, "$P in out", 3, "",
     "FAIL usage: brannik-testlib <input> <output> <answer> [<result-file>]\n"},
    {"unwritable result file", Testlib, WorkedIn, WorkedOut, "$P in out ans nofolder/res", 3, "",
     "FAIL cannot write the result file nofolder/res\n"},
    {"verdict to a full disk", Testlib, WorkedIn, WorkedOut, "$P in out ans 2>/dev/full", 3, "", ""},

    {"accepted", Kattis, WorkedIn, WorkedOut, "$P in ans fb < out", 42, "", "", "fb/judgemessage.txt",
     "Success\n"},
    {"accepted with flags", Kattis, WorkedIn, WorkedOut,
     "$P in ans fb case_sensitive float_tolerance 1 < out", 42, "", ""},
    {"rejected", Kattis, WorkedIn, Wrong, "$P in ans fb < out", 43, "", "", "fb/judgemessage.txt",
     "incorrect total cost\n"},
    {"unusable input", Kattis, "0\n", WorkedOut, "$P in ans fb < out", 1, "", "", "fb/judgeerror.txt",
     "Error in input file: N out of range at line 1\n"},
    {"empty output", Kattis, WorkedIn, "", "$P in ans fb < out", 43, "", "", "fb/judgemessage.txt",
     "syntax error at line 1\n"},
    {"standard input closed", Kattis, WorkedIn, WorkedOut, "$P in ans fb <&-", 1, "", "", "fb/judgeerror.txt",
     "no team output: standard input closed\n"},
    {"bad call", Kattis, WorkedIn, WorkedOut, "$P in ans < out", 1, "",
     "usage: brannik-kattis <input> <answer> <feedback_dir> < <team output>\n"},
    {"unwritable feedback folder, accepted", Kattis, WorkedIn, WorkedOut, "$P in ans nofolder < out", 1, "",
     "cannot write judgemessage.txt in the feedback folder\n"},
    {"accepted", Cms, WorkedIn, WorkedOut, "$P in ans out", 0, "1.0\n", "Success\n"},
    {"rejected", Cms, WorkedIn, Wrong, "$P in ans out", 0, "0.0\n", "incorrect total cost\n"},
    {"unusable input", Cms, "0\n", WorkedOut, "$P in ans out", 1, "",
     "Error in input file: N out of range at line 1\n"},
    {"missing output", Cms, WorkedIn, std::nullopt, "$P in ans out", 0, "0.0\n", "failed opening file\n"},
    {"bad call", Cms, WorkedIn, WorkedOut, "$P in ans", 1, "",
     "usage: brannik-cms <input> <correct_output> <contestant_output>\n"},
    {"score to a full disk", Cms, WorkedIn, WorkedOut, "$P in ans out >/dev/full", 1, "",
     "cannot write the score\n"},

    {"valid", Validate, WorkedIn, std::nullopt, "$P < in", 42, "", ""},
    {"invalid", Validate, "2\n1 3\n+2\n", std::nullopt, "$P < in", 43,
     "line 3: not a plain decimal integer\n", ""},
    {"violation to a full disk", Validate, "0\n", std::nullopt, "$P < in >/dev/full", 1, "", ""},

    // The generator's tests are pinned whole, the large one by its digest:
    // the same bytes on every platform and from the one-file source.
    {"smallest chain", Gen, std::nullopt, std::nullopt, "$P chain 2 1 0", 0, "1\n5 10\n1\n34\n0\n", ""},
    {"comb of extreme numbers", Gen, std::nullopt, std::nullopt,
     "$P comb 8 3 4294967295 --costs=-2147483648,2147483647 --load=2147483647,2147483647 "
     "--store=1,2147483647",
     0, "3\n2147483647 479346979\n3\n1241397172\n0\n0\n3\n113049152\n1\n1202606294\n0\n0\n0\n", ""},
    {"largest random", Gen, std::nullopt, std::nullopt,
     "$P random 10000 10 7 --costs=-2147483648,2147483647 | sha256sum", 0,
     "eb581bc7bd995aa97b0fe5a662681a535835e06d15269fc6b9c22bc2e15f4511  -\n", ""},
    {"bad call", Gen, std::nullopt, std::nullopt, "$P random 10 3", 1, "", GenUsage},
    {"seed beyond 32 bits", Gen, std::nullopt, std::nullopt, "$P random 10 3 4294967296", 1, "", GenUsage},
    {"malformed range", Gen, std::nullopt, std::nullopt, "$P random 10 3 1 --costs=1:5", 1, "", GenUsage},
    {"nodes out of range", Gen, std::nullopt, std::nullopt, "$P chain 10001 3 1", 1, "",
     "nodes out of range: 2 to 10000\n"},
    {"no comb of that degree", Gen, std::nullopt, std::nullopt, "$P comb 10 5 1 --degree=1", 1, "",
     "a comb needs a degree of at least 2\n"},
    {"test to a full disk", Gen, std::nullopt, std::nullopt, "$P random 10 3 1 >/dev/full", 2, "",
     "cannot write the test: No space left on device\n"},
    {"standard output closed", Gen, std::nullopt, std::nullopt, "$P random 10 3 1 >&-", 2, "",
     "cannot write the test: Bad file descriptor\n"},
};

void expect_row(const Row& row, const std::string& program) {
  const support::ScratchDir dir;
  if (row.in) support::write_file(dir.path + "/in", *row.in);
  if (row.out) support::write_file(dir.path + "/out", *row.out);
  support::write_file(dir.path + "/ans", WorkedOut);
  support::run_shell(dir.path, "mkdir fb");
  const Outcome o = support::run_shell(dir.path, "P='" + program + "'; " + row.command);
  const std::string name = program + ": " + row.name;
  EXPECT_EQ(o.status, row.status) << name;
  EXPECT_EQ(o.out, row.stdout_text) << name;
  EXPECT_EQ(o.err, row.stderr_text) << name;
  if (!row.file.empty()) {
    EXPECT_EQ(support::read_file(dir.path + "/" + row.file), row.file_text) << name;
  }
}

TEST(Hosts, EachProgramKeepsItsSystemsProtocol) {
  for (const Row& row : Table) expect_row(row, row.program);
}

// Each one-file program, built by the compiler alone, as a judging system
// builds it; the generator also as Kattis problemtools builds a generator.
TEST(Hosts, TheOneFileProgramsCompileAloneAndKeepTheProtocol) {
  const struct {
    std::string source, program, also;
  } sources[] = {
      {ONE_FILE, Testlib, ""},
      {GEN_ONE_FILE, Gen, "g++ -std=gnu++17 -Wall -Wextra -fsyntax-only '" GEN_ONE_FILE "'"},
  };
  for (const auto& one : sources) {
    const support::ScratchDir dir;
    const Outcome built =
        support::run_shell(dir.path, "g++ -std=c++20 -O2 -Wall -Wextra '" + one.source + "' -o program" +
                                         (one.also.empty() ? "" : " && ") + one.also);
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.err, "");
    for (const Row& row : Table)
      if (row.program == one.program) expect_row(row, dir.path + "/program");
  }
}

}  // namespace
