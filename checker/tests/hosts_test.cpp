// The judging systems' programs, each called exactly as its system calls it:
// status, both outputs and the feedback files together.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "cases.h"
#include "support.h"
#include "worked_example.h"

namespace {

using support::ShellRun;
using support::WorkedIn;
using support::WorkedOut;

const std::string Wrong = "12\n2 0\n5 1\n1 1\n";
// Valid, but both inner nodes stored: 4 more than the least, 11.
const std::string Dear = "15\n2 0\n5 0\n1 1\n";
// Node 2 held while node 5 loads its two leaves: three registers of two.
const std::string Crowded = "11\n2 1\n5 1\n1 1\n";
// One free descriptor: one file open at a time, as each is closed before the next.
const std::string OneDescriptor = "exec 3<&- 4<&- 5<&- 6<&- 7<&- 8<&- 9<&-; ulimit -n 4; ";
const std::string XmlHead = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>";

struct Row {
  const char* name;
  std::string program;                 // $P in the command
  std::optional<std::string> in, out;  // the task "in" and the contestant's "out"; none: absent
  std::string command;  // run in a folder with "in", "out", "ans" (the jury's answer) and "fb/"
  int status;
  std::string stdout_text, stderr_text;
  std::string file = "", file_text = "";       // a file the program must have written
  std::optional<std::string> ans = WorkedOut;  // the jury's answer; none: absent
};

const std::string Testlib = BRANNIK_TESTLIB, Kattis = BRANNIK_KATTIS, Cms = BRANNIK_CMS, CmsPower = CMS_POWER,
                  Validate = BRANNIK_VALIDATE, Gen = BRANNIK_GEN, Solve = BRANNIK_SOLVE;
const std::string GenUsage =
    "usage: brannik-gen random|chain|complete|comb|full <nodes> <N> <seed> [--degree=K] [--costs=LO,HI] "
    "[--load=LO,HI] [--store=LO,HI]\n";
const cases::Case Chain = cases::chain(10000);

const Row Table[] = {
    {"accepted", Testlib, WorkedIn, WorkedOut, "$P in out ans res", 0, "", "ok total cost 11\n", "res",
     "ok total cost 11\n"},
    {"rejected", Testlib, WorkedIn, Wrong, "$P in out ans res", 1, "",
     "wrong answer incorrect total cost: claimed 12, replayed 11\n", "res",
     "wrong answer incorrect total cost: claimed 12, replayed 11\n"},
    {"dearer than the jury's answer", Testlib, WorkedIn, Dear, "$P in out ans res", 1, "",
     "wrong answer total cost 15, the least is 11\n", "res", "wrong answer total cost 15, the least is 11\n"},
    {"cheaper than the jury's answer", Testlib, WorkedIn, WorkedOut, "$P in out ans", 3, "",
     "FAIL Error in jury's answer: not optimal: total cost 15, the contestant's answer costs 11\n", "", "",
     Dear},
    {"jury's answer missing", Testlib, WorkedIn, WorkedOut, "$P in out ans", 3, "",
     "FAIL Error in jury's answer: failed opening file\n", "", "", std::nullopt},
    {"jury's answer rejected", Testlib, WorkedIn, WorkedOut, "$P in out ans", 3, "",
     "FAIL Error in jury's answer: too many registers used at line 3\n", "", "", Crowded},
    {"not an answer", Testlib, WorkedIn, "11\n2\n", "$P in out ans", 2, "",
     "wrong output format syntax error at line 2\n"},
    {"testset and group", Testlib, WorkedIn, WorkedOut, "$P --testset tests --group 1 in out ans res", 0, "",
     "ok total cost 11\n", "res", "ok total cost 11\n"},
    {"XML result", Testlib, WorkedIn, Wrong, "$P in out ans res -appes", 1, "",
     "wrong answer incorrect total cost: claimed 12, replayed 11\n", "res",
     XmlHead + "<result outcome = \"wrong-answer\">incorrect total cost: claimed 12, replayed 11</result>\n"},
    {"XML result, presentation error", Testlib, WorkedIn, "", "$P in out ans res -appes", 2, "",
     "wrong output format syntax error at line 1\n", "res",
     XmlHead + "<result outcome = \"presentation-error\">syntax error at line 1</result>\n"},
    {"XML result of a bad call, escaped", Testlib, WorkedIn, WorkedOut,
     "$P in out ans res -appes more 2>/dev/null", 3, "", "", "res",
     XmlHead +
         "<result outcome = \"fail\">usage: brannik-testlib [--testset &lt;name&gt;] [--group &lt;name&gt;] "
         "[--score &lt;form&gt;] &lt;input&gt; &lt;output&gt; &lt;answer&gt; [&lt;result-file&gt; "
         "[-appes]]</result>\n"},
    {"standard error closed, result file", Testlib, WorkedIn, WorkedOut, "$P in out ans res 2>&-", 0, "", "",
     "res", "ok total cost 11\n"},
    {"standard error closed, no result file", Testlib, WorkedIn, WorkedOut, "$P in out ans 2>&-", 3, "", ""},
    {"result to a full disk", Testlib, WorkedIn, WorkedOut, "$P in out ans /dev/full", 3, "",
     "FAIL cannot write the result file /dev/full\n"},
    {"partial score", Testlib, WorkedIn, Dear, "$P --score power in out ans res", 7, "",
     "points 0.0 total cost 15, the least is 11: score 0.0\n", "res",
     "points 0.0 total cost 15, the least is 11: score 0.0\n"},
    {"partial score, XML result", Testlib, WorkedIn, Dear, "$P in out ans res -appes --score threshold:1", 7,
     "", "points 1.0 total cost 15, the least is 11: score 1.0\n", "res",
     XmlHead + "<result outcome = \"points\" points = \"1.0\">1.0 total cost 15, the least is 11: score "
               "1.0</result>\n"},
    {"partial score of the least", Testlib, WorkedIn, WorkedOut, "$P --score power in out ans", 0, "",
     "ok total cost 11\n"},
    {"partial score of an invalid answer", Testlib, WorkedIn, Wrong, "$P --score power in out ans", 1, "",
     "wrong answer incorrect total cost: claimed 12, replayed 11\n"},
    {"no such score form", Testlib, WorkedIn, Dear, "$P --score power:0 in out ans", 3, "",
     "FAIL score form power:0: \"least\", \"power\", \"power:P\" with P above 0, or \"threshold:T\" with T a "
     "whole number from 0\n"},
    {"one free descriptor", Testlib, WorkedIn, WorkedOut, OneDescriptor + "$P in out ans res", 0, "",
     "ok total cost 11\n", "res", "ok total cost 11\n"},
    {"unusable input", Testlib, "0\n", WorkedOut, "$P in out ans", 3, "",
     "FAIL Error in input file: N out of range at line 1\n"},
    {"missing output", Testlib, WorkedIn, std::nullopt, "$P in out ans", 1, "",
     "wrong answer failed opening file\n"},
    {"bad call", Testlib, WorkedIn, WorkedOut, "$P in out", 3, "",
     "FAIL usage: brannik-testlib [--testset <name>] [--group <name>] [--score <form>] <input> <output> "
     "<answer> "
     "[<result-file> [-appes]]\n"},
    {"unwritable result file", Testlib, WorkedIn, WorkedOut, "$P in out ans nofolder/res", 3, "",
     "FAIL cannot write the result file nofolder/res\n"},
    {"verdict to a full disk", Testlib, WorkedIn, WorkedOut, "$P in out ans 2>/dev/full", 3, "", ""},

    {"accepted", Kattis, WorkedIn, WorkedOut, "$P in ans fb < out", 42, "", "", "fb/judgemessage.txt",
     "Success\n"},
    {"accepted with flags", Kattis, WorkedIn, WorkedOut,
     "$P in ans fb case_sensitive float_tolerance 1 < out", 42, "", ""},
    {"rejected", Kattis, WorkedIn, Wrong, "$P in ans fb < out", 43, "", "", "fb/judgemessage.txt",
     "incorrect total cost: claimed 12, replayed 11\n\n"
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
    {"dearer than the jury's answer", Kattis, WorkedIn, Dear, "$P in ans fb < out", 43, "", "",
     "fb/judgemessage.txt",
     "total cost 15, the least is 11\n\n"
     "registers 2, load cost 1, store cost 3, 7 nodes\n"
     "line  node  step      loads  held  regs loaded  regs after  total\n"
     "   1        claim 15                                     0      0\n"
     "   2     2  store     3 4    -               2           0      6\n"
     "   3     5  store     6 7    -               2           0     12\n"
     "   4     1  hold      2 5    -               2           1     15\n"
     " end  <-- total cost 15, the least is 11\n"
     "Error in output file: total cost 15, the least is 11\n"},
    {"cheaper than the jury's answer", Kattis, WorkedIn, WorkedOut, "$P in ans fb < out", 1, "", "",
     "fb/judgeerror.txt",
     "Error in jury's answer: not optimal: total cost 15, the contestant's answer costs 11\n", Dear},
    {"jury's answer missing", Kattis, WorkedIn, WorkedOut, "$P in ans fb < out", 1, "", "",
     "fb/judgeerror.txt", "Error in jury's answer: failed opening file\n", std::nullopt},
    {"jury's answer rejected", Kattis, WorkedIn, WorkedOut, "$P in ans fb < out", 1, "", "",
     "fb/judgeerror.txt", "Error in jury's answer: too many registers used at line 3\n", Crowded},
    {"feedback to a full disk", Kattis, WorkedIn, WorkedOut,
     "ln -s /dev/full fb/judgemessage.txt; $P in ans fb < out", 1, "", "", "fb/judgeerror.txt",
     "cannot write judgemessage.txt in the feedback folder\n"},
    {"partial score, in points", Kattis, WorkedIn, Dear, "$P in ans fb --score threshold:1 --points 20 < out",
     42, "", "", "fb/score.txt", "20.0\n"},
    {"partial score of the least", Kattis, WorkedIn, WorkedOut, "$P in ans fb --score power < out", 42, "",
     "", "fb/score.txt", "1.0\n"},
    {"partial score, the message", Kattis, WorkedIn, Dear, "$P in ans fb --score power < out", 42, "", "",
     "fb/judgemessage.txt", "total cost 15, the least is 11: score 0.0\n"},
    {"one free descriptor", Kattis, WorkedIn, WorkedOut, "exec <out; " + OneDescriptor + "$P in ans fb", 42,
     "", "", "fb/judgemessage.txt", "Success\n"},
    {"unusable input", Kattis, "0\n", WorkedOut, "$P in ans fb < out", 1, "", "", "fb/judgeerror.txt",
     "Error in input file: N out of range at line 1\n"},
    {"empty output", Kattis, WorkedIn, "", "$P in ans fb < out", 43, "", "", "fb/judgemessage.txt",
     "syntax error at line 1\n\nregisters 2, load cost 1, store cost 3, 7 nodes\n"
     "line  node  step  loads  held  regs loaded  regs after  total\n   1  <-- syntax error at line 1\n"
     "Error in output file: syntax error at line 1\n"},
    {"standard input closed", Kattis, WorkedIn, WorkedOut, "$P in ans fb <&-", 1, "", "", "fb/judgeerror.txt",
     "no team output: standard input closed\n"},
    {"bad call", Kattis, WorkedIn, WorkedOut, "$P in ans < out", 1, "",
     "usage: brannik-kattis <input> <answer> <feedback_dir> [--score <form>] [--points <P>] < <team "
     "output>\n"},
    {"unwritable feedback folder, accepted", Kattis, WorkedIn, WorkedOut, "$P in ans nofolder < out", 1, "",
     "cannot write judgemessage.txt in the feedback folder\n"},
    {"accepted", Cms, WorkedIn, WorkedOut, "$P in ans out", 0, "1.0\n", "Success\n"},
    {"rejected", Cms, WorkedIn, Wrong, "$P in ans out", 0, "0.0\n",
     "incorrect total cost: claimed 12, replayed 11\n"},
    {"dearer than the jury's answer", Cms, WorkedIn, Dear, "$P in ans out", 0, "0.0\n",
     "total cost 15, the least is 11\n"},
    {"cheaper than the jury's answer", Cms, WorkedIn, WorkedOut, "$P in ans out", 1, "",
     "Error in jury's answer: not optimal: total cost 15, the contestant's answer costs 11\n", "", "", Dear},
    {"jury's answer missing", Cms, WorkedIn, WorkedOut, "$P in ans out", 1, "",
     "Error in jury's answer: failed opening file\n", "", "", std::nullopt},
    {"jury's answer rejected", Cms, WorkedIn, WorkedOut, "$P in ans out", 1, "",
     "Error in jury's answer: too many registers used at line 3\n", "", "", Crowded},
    {"message to a full disk", Cms, WorkedIn, WorkedOut, "$P in ans out 2>/dev/full", 1, "1.0\n", ""},
    {"standard error closed", Cms, WorkedIn, WorkedOut, "$P in ans out 2>&-", 0, "1.0\n", ""},
    {"standard output closed", Cms, WorkedIn, WorkedOut, "$P in ans out >&-", 1, "", ""},
    {"partial score", CmsPower, WorkedIn, Dear, "$P in ans out", 0, "0.0\n",
     "total cost 15, the least is 11: score 0.0\n"},
    {"partial score of the least", CmsPower, WorkedIn, WorkedOut, "$P in ans out", 0, "1.0\n", "Success\n"},
    {"one free descriptor", Cms, WorkedIn, WorkedOut, OneDescriptor + "$P in ans out", 0, "1.0\n",
     "Success\n"},
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
    {"standard output closed", Validate, "0\n", std::nullopt, "$P < in >&-", 1, "", ""},

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
    {"seed of eleven digits", Gen, std::nullopt, std::nullopt, "$P random 10 3 42949672950", 1, "", GenUsage},
    {"negative seed", Gen, std::nullopt, std::nullopt, "$P random 10 3 -1", 1, "", GenUsage},
    {"seed with a plus sign", Gen, std::nullopt, std::nullopt, "$P random 10 3 +1", 1, "", GenUsage},
    {"seed of minus zero", Gen, std::nullopt, std::nullopt, "$P random 10 3 -0", 1, "", GenUsage},
    {"costs of one negative digit", Gen, std::nullopt, std::nullopt, "$P chain 2 1 0 --costs=-1,-1", 0,
     "1\n5 10\n1\n-1\n0\n", ""},
    {"malformed range", Gen, std::nullopt, std::nullopt, "$P random 10 3 1 --costs=1:5", 1, "", GenUsage},
    {"nodes out of range", Gen, std::nullopt, std::nullopt, "$P chain 10001 3 1", 1, "",
     "nodes out of range: 2 to 10000\n"},
    {"no comb of that degree", Gen, std::nullopt, std::nullopt, "$P comb 10 5 1 --degree=1", 1, "",
     "a comb needs a degree of at least 2\n"},
    {"test to a full disk", Gen, std::nullopt, std::nullopt, "$P random 10 3 1 >/dev/full", 2, "",
     "cannot write the test: No space left on device\n"},
    {"standard output closed", Gen, std::nullopt, std::nullopt, "$P random 10 3 1 >&-", 2, "",
     "cannot write the test: Bad file descriptor\n"},

    {"least cost", Solve, WorkedIn, std::nullopt, "$P < in", 0, "11\n5 0\n2 1\n1 1\n", ""},
    {"10000 levels in a 2 MiB stack", Solve, Chain.in, std::nullopt, "ulimit -s 2048; $P < in", 0, Chain.out,
     ""},
    {"unusable input", Solve, "2\n1 3\n3\n", std::nullopt, "$P < in", 1, "",
     "Error in input file: K out of range at line 3\n"},
    {"no answer evaluates a lone leaf", Solve, "1\n1 1\n0\n", std::nullopt, "$P < in", 1, "",
     "Error in input file: root node is a leaf\n"},
    {"standard input closed", Solve, WorkedIn, std::nullopt, "$P <&-", 1, "",
     "Error in input file: failed opening file\n"},
    {"answer to a full disk", Solve, WorkedIn, std::nullopt, "$P < in >/dev/full", 2, "",
     "brannik-solve: cannot write the answer: No space left on device\n"},
    {"standard output closed", Solve, WorkedIn, std::nullopt, "$P < in >&-", 2, "",
     "brannik-solve: cannot write the answer: Bad file descriptor\n"},
    {"answer into a pipe whose reader has gone", Solve, WorkedIn, std::nullopt,
     support::IntoClosedPipe + "$P < in", 2, "", "brannik-solve: cannot write the answer: Broken pipe\n"},
};

void expect_row(const Row& row, const std::string& program) {
  const support::ScratchDir dir;
  if (row.in) support::write_file(dir.path + "/in", *row.in);
  if (row.out) support::write_file(dir.path + "/out", *row.out);
  if (row.ans) support::write_file(dir.path + "/ans", *row.ans);
  support::run_shell(dir.path, "mkdir fb");
  const ShellRun o = support::run_shell(dir.path, "P='" + program + "'; " + row.command);
  const std::string name = program + ": " + row.name;
  EXPECT_EQ(o.status, row.status) << name;
  EXPECT_EQ(o.out, row.stdout_text) << name;
  EXPECT_EQ(o.err, row.stderr_text) << name;
  if (!row.file.empty()) {
    EXPECT_EQ(support::read_file(dir.path + "/" + row.file), row.file_text) << name;
  }
}

// A row as the test's parameter: its words.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// Each row is a test of its own, so that rows fail one by one.
class EachProgram : public testing::TestWithParam<Row> {};

TEST_P(EachProgram, KeepsItsSystemsProtocol) { expect_row(GetParam(), GetParam().program); }

// A row's test is named by its number and words: "12_standard_output_closed".
std::string row_name(const testing::TestParamInfo<Row>& info) {
  std::string name = std::to_string(info.index) + "_";
  for (const char c : std::string_view(info.param.name))
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Hosts, EachProgram, testing::ValuesIn(Table), row_name);

// The testlib checker's source built as CMS builds a Polygon package's
// checker: gnu++17, CMS's testlib.h forced in before it (or, where CMS is not
// installed, a stand-in with names of the same kinds), CMS defined.
const std::string AsCmsBuildsIt =
    "h=/usr/local/include/cms/testlib.h; [ -f $h ] || h='" TESTLIB_STAND_IN
    "'; "
    "g++ -x c++ -O2 -static -DCMS -I \"$(dirname $h)\" -include $h -o program brannik-testlib.cpp";

// Each one-file program, built by the compiler alone, as a judging system
// builds it, keeps the built program's rows; the generator also builds as
// Kattis problemtools builds a generator, the testlib checker as CMS builds
// it keeps brannik-cms's rows, and the solver, without the descriptors' part,
// writes the built solver's answers.
TEST(Hosts, TheOneFileProgramsCompileAloneAndKeepTheProtocol) {
  const std::string Cxx20 = "g++ -std=c++20 -O2 -Wall -Wextra ";
  const struct {
    std::string name, program, build;
  } sources[] = {
      {"brannik-testlib", Testlib, Cxx20 + "brannik-testlib.cpp -o program"},
      {"brannik-testlib", Cms, AsCmsBuildsIt},
      {"brannik-gen", Gen,
       Cxx20 + "brannik-gen.cpp -o program && g++ -std=gnu++17 -Wall -Wextra -fsyntax-only brannik-gen.cpp"},
      {"brannik-solve", Solve, Cxx20 + "brannik-solve.cpp -o program"},
  };
  for (const auto& one : sources) {
    const support::ScratchDir dir;
    const ShellRun built =
        support::run_shell(dir.path, "cp '" ONE_FILE_DIR "/" + one.name + ".cpp' . && " + one.build);
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.err, "");
    for (const Row& row : Table)
      if (row.program == one.program) expect_row(row, dir.path + "/program");
    if (one.program != Solve) continue;
    for (const std::string& task : {cases::task("wide", 10000, 10), cases::task("random", 10000, 3),
                                    cases::task("random", 3000, 100)}) {
      support::write_file(dir.path + "/in", task);
      const ShellRun alone = support::run_shell(dir.path, "./program < in");
      EXPECT_EQ(alone.status, 0);
      EXPECT_EQ(alone.out, support::run_shell(dir.path, "'" + Solve + "' < in").out);
    }
  }
}

}  // namespace
