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
                  Validate = BRANNIK_VALIDATE;

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
     "incorrect total cost\n\n"
     "registers 2, load cost 1, store cost 3, 7 nodes\n"
     "line  node  step      loads  held  regs loaded  regs after  total\n"
     "   1        claim 12                                     0      0\n"
     "   2     2  store     3 4    -               2           0      6\n"
     "   3     5  hold      6 7    -               2           1      9\n"
     "   4     1  hold      2      5               2           1     11\n"
     " end  <-- incorrect total cost\n"
     "Error in output file: incorrect total cost\n"},
    {"rejected at a step, the jury sees the replay", Kattis, WorkedIn, "11\n2 1\n5 1\n1 1\n",
     "$P in ans fb < out", 43, "", "", "fb/judgemessage.txt",
     "too many registers used at line 3\n\n"
     "registers 2, load cost 1, store cost 3, 7 nodes\n"
     "line  node  step      loads  held  regs loaded  regs after  total\n"
     "   1        claim 11                                     0      0\n"
     "   2     2  hold      3 4    -               2           1      3\n"
     "   3     5  hold      6 7    -               3  <-- too many registers used at line 3\n"
     "Error in output file: too many registers used at line 3\n"},
    {"unusable input", Kattis, "0\n", WorkedOut, "$P in ans fb < out", 1, "", "", "fb/judgeerror.txt",
     "Error in input file: N out of range at line 1\n"},
    {"empty output", Kattis, WorkedIn, "", "$P in ans fb < out", 43, "", "", "fb/judgemessage.txt",
     "syntax error at line 1\n\nregisters 2, load cost 1, store cost 3, 7 nodes\n"
     "line  node  step  loads  held  regs loaded  regs after  total\n   1  <-- syntax error at line 1\n"
     "Error in output file: syntax error at line 1\n"},
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

TEST(Hosts, TheOneFileCheckerCompilesAloneAndKeepsTheProtocol) {
  const support::ScratchDir dir;
  const Outcome built =
      support::run_shell(dir.path, "g++ -std=c++20 -O2 -Wall -Wextra '" ONE_FILE "' -o brannik-testlib");
  ASSERT_EQ(built.status, 0) << built.err;
  EXPECT_EQ(built.err, "");
  for (const Row& row : Table)
    if (row.program == Testlib) expect_row(row, dir.path + "/brannik-testlib");
}

}  // namespace
