// brannik-mutants: the mutants each operator makes, the lines gcov shows
// unrun, the report, the call, and a run on a package whose tests are weak.
#include "mutants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "judge_run.h"
#include "runner.h"
#include "stress.h"
#include "support.h"

namespace {

std::set<std::string> mutated_sources(const std::string& source) {
  std::vector<regs::Token> tokens;
  char err[regs::ErrSize];
  EXPECT_EQ(regs::tokens_of(source, tokens, err), 1) << err;
  std::set<std::string> out;
  for (const regs::Mutant& m : regs::mutants_of(source, tokens)) out.insert(regs::mutated(source, m));
  return out;
}

struct OperatorRow {
  const char* source;
  std::set<std::string> mutants;
};

TEST(MutantsOf, EachOperatorMakesItsSlips) {
  const OperatorRow rows[] = {
      {"bool f(int a, int b) { return a < b; }",
       {"bool f(int a, int b) { return a <= b; }", "bool f(int a, int b) { return a > b; }"}},
      {"bool f(int a, int b) { return a >= b; }",
       {"bool f(int a, int b) { return a > b; }", "bool f(int a, int b) { return a <= b; }"}},
      {"bool f(int a, int b) { return a == b; }", {"bool f(int a, int b) { return a != b; }"}},
      {"int f(int a, int b) { return a + b * a % b; }",
       {"int f(int a, int b) { return a - b * a % b; }", "int f(int a, int b) { return a + b / a % b; }",
        "int f(int a, int b) { return a + b * a / b; }"}},
      {"bool f(bool a, bool b) { return a && !b; }",
       {"bool f(bool a, bool b) { return a || !b; }", "bool f(bool a, bool b) { return a && b; }"}},
      {"void f(int& x) { x += 2; ++x; }",
       {"void f(int& x) { x -= 2; ++x; }", "void f(int& x) { x += 3; ++x; }",
        "void f(int& x) { x += 1; ++x; }", "void f(int& x) { x += 0; ++x; }",
        "void f(int& x) { x += 2; --x; }"}},
      {"unsigned x = 0u;", {"unsigned x = 1u;", "unsigned x = (-1u);"}},
      {"long long x = 1LL;", {"int x = 1LL;", "long long x = 2LL;", "long long x = 0LL;"}},
      {"namespace std { using int64_t = long; } std::int64_t x;",
       {"namespace std { using int = long; } std::int64_t x;",
        "namespace std { using int64_t = long; } int x;"}},
      {"int f(int n) { int s; for (s = n; s < n; ) break; return s; }",
       {"int f(int n) { int s; for (s = n; s <= n; ) break; return s; }",
        "int f(int n) { int s; for (s = n; s > n; ) break; return s; }",
        "int f(int n) { int s; for (s = n; s < (n) - 1; ) break; return s; }",
        "int f(int n) { int s; for (s = n; s < n; ) ; return s; }"}},
      {"void f(int n) { for (; n <= 9 && n; ) continue; }",
       {"void f(int n) { for (; n < 9 && n; ) continue; }",
        "void f(int n) { for (; n >= 9 && n; ) continue; }",
        "void f(int n) { for (; n <= 10 && n; ) continue; }",
        "void f(int n) { for (; n <= 8 && n; ) continue; }",
        "void f(int n) { for (; n <= 0 && n; ) continue; }",
        "void f(int n) { for (; n <= 9 || n; ) continue; }",
        "void f(int n) { for (; n <= (9) + 1 && n; ) continue; }",
        "void f(int n) { for (; n <= 9 && n; ) ; }"}},
      {"void f(bool a) { if (a) return; while (a) {} }",
       {"void f(bool a) { if (!(a)) return; while (a) {} }",
        "void f(bool a) { if (a) return; while (!(a)) {} }"}},
      // The < and > of a template, a preprocessor line and a string: none.
      {"template <class T> struct V {};\nV<int> v;", {}},
      {"#define N (1 + 2)\nconst char* s = \"a < b\";", {}},
  };
  for (const OperatorRow& row : rows) EXPECT_EQ(mutated_sources(row.source), row.mutants) << row.source;
}

TEST(MutantsOf, KnowsEachMutantsLineAndChange) {
  const std::string source = "int f(int a) {\n  return a - 1;\n}\n";
  std::vector<regs::Token> tokens;
  char err[regs::ErrSize];
  ASSERT_EQ(regs::tokens_of(source, tokens, err), 1);
  const std::vector<regs::Mutant> mutants = regs::mutants_of(source, tokens);
  ASSERT_EQ(mutants.size(), 3u);
  EXPECT_EQ(mutants[0].line, 2);
  EXPECT_EQ(mutants[0].what, "- to +");
  EXPECT_EQ(mutants[1].what, "1 to 2");
  EXPECT_EQ(regs::line_text(source, 2), "  return a - 1;");
}

TEST(LinesNotRun, AreTheSourcesOwnUnrunLines) {
  const std::string gcov =
      "        -:    0:Source:/usr/include/c++/12/vector\n"
      "    #####:   12:  other file\n"
      "        -:    0:Source:/w/solution.cpp\n"
      "        5:    1:int main() {\n"
      "    #####:    2:  never();\n"
      "        -:    3:  // words\n"
      "    =====:    4:  thrown();\n"
      "        1:    5:}\n";
  EXPECT_EQ(regs::lines_not_run(gcov, "/w/solution.cpp"), (std::vector<int>{2, 4}));
}

TEST(Spread, TakesTheLimitEvenly) {
  std::vector<regs::Mutant> mutants(10);
  for (int i = 0; i < 10; ++i) mutants[i].line = i;
  std::vector<int> lines;
  for (const regs::Mutant& m : regs::spread(mutants, 4)) lines.push_back(m.line);
  EXPECT_EQ(lines, (std::vector<int>{0, 2, 5, 7}));
  EXPECT_EQ(regs::spread(mutants, 0).size(), 10u);
  EXPECT_EQ(regs::spread(mutants, 20).size(), 10u);
}

TEST(MutantsReport, ShowsTheShareTheKillersTheHolesAndTheRest) {
  regs::MutantsRun run;
  run.source = "a\nif (x || y)\nc\n";
  run.made = 6;
  run.unreached = 1;
  run.mutants = {{0, 0, "", 1, "1 to 2"},
                 {0, 0, "", 2, "|| to &&"},
                 {0, 0, "", 3, "< to <="},
                 {0, 0, "", 2, "condition negated"},
                 {0, 0, "", 1, "0 to 1"}};
  using R = regs::MutantResult;
  run.results = {{R::Killed, "secret/07", "dearer", "", "", ""},
                 {R::Hole, "", "rejected: x", "brannik-gen chain 3 1 5", "1 1\n",
                  "NN-caught-at-line-2 small gen chain 3 1 5"},
                 {R::Survived, "", "", "", "", ""},
                 {R::Killed, "secret/07", "dearer", "", "", ""},
                 {R::NotCompiled, "", "", "", "", ""}};
  EXPECT_EQ(regs::holes_of(run), 1u);
  const std::string text = regs::mutants_report(run);
  for (const char* part : {"**The tests kill 66.6% of the breakable mutants** (2 of 3)", "| made | 6 |",
                           "| on lines that no test runs, left out | 1 |", "| did not compile | 1 |",
                           "| killed by the tests | 2 |", "| broken by the stress search alone (holes) | 1 |",
                           "| broken by neither | 1 |", "| secret/07 | 2 | 1, 2 |", "### Line 2: || to &&",
                           "`brannik-gen chain 3 1 5`", "```\n1 1\n```",
                           "NN-caught-at-line-2 small gen chain 3 1 5", "| 3 | `< to <=` | `c` |"})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

struct CallRow {
  std::vector<const char*> args;
  bool good;
};

TEST(ReadMutantsCall, TakesItsOptionsAndRefusesOthers) {
  const CallRow rows[] = {
      {{"p"}, true},
      {{"--budget=0.5", "--jobs=3", "--limit=7", "--lines=4-9", "--seed=0", "-o", "r.md", "p", "s.cpp"},
       true},
      {{}, false},
      {{"p", "s.cpp", "t.cpp"}, false},
      {{"--jobs=0", "p"}, false},
      {{"--lines=9-4", "p"}, false},
      {{"--budget=-1", "p"}, false},
      {{"--fast", "p"}, false},
  };
  for (const CallRow& row : rows) {
    std::vector<char*> argv{const_cast<char*>("brannik-mutants")};
    for (const char* a : row.args) argv.push_back(const_cast<char*>(a));
    regs::MutantsCall call;
    char err[regs::ErrSize];
    EXPECT_EQ(regs::read_mutants_call(static_cast<int>(argv.size()), argv.data(), call, err),
              row.good ? 1 : 0)
        << (row.args.empty() ? "" : row.args[0]);
  }
  char* argv[] = {const_cast<char*>("brannik-mutants"), const_cast<char*>("--lines=4-9"),
                  const_cast<char*>("pkg")};
  regs::MutantsCall call;
  char err[regs::ErrSize];
  ASSERT_EQ(regs::read_mutants_call(3, argv, call, err), 1);
  EXPECT_EQ(call.solution, "pkg/submissions/accepted/brannik-solve.cpp");
  EXPECT_EQ(call.first_line, 4);
  EXPECT_EQ(call.last_line, 9);
  EXPECT_EQ(call.budget, 10);
}

// The package of the worked example alone, as weak as tests get: the model
// solution's sum of the total has mutants that it accepts and the search
// breaks, each failing on the test the search shrank.
TEST(RunMutants, FindsTheHolesOfTheSampleAlone) {
  support::ScratchDir dir;
  const std::string package = dir.path + "/regs";
  std::filesystem::create_directories(package + "/data/sample");
  support::write_file(package + "/data/sample/1.in", support::read_file(EXAMPLES "/REGS.IN"));
  support::write_file(package + "/data/sample/1.ans", support::read_file(EXAMPLES "/REGS.OUT"));
  support::write_file(package + "/.timelimit", "1\n");
  support::write_file(package + "/problem.yaml", "limits:\n  memory: 256\n");
  const std::string solution = ONE_FILE_DIR "/brannik-solve.cpp";
  const std::string source = support::read_file(solution);
  // The solving part's sum of the total, which the sample's small costs
  // leave untried.
  const std::size_t part = source.find("// ---- solve.cpp");
  const std::size_t from = source.find("long long total = 0;", part);
  const std::size_t to = source.find("append_line(text, total, 0, false);", from);
  ASSERT_NE(to, std::string::npos);
  regs::MutantsCall call;
  call.package = package;
  call.solution = solution;
  call.first_line = 1 + std::count(source.begin(), source.begin() + from, '\n');
  call.last_line = 1 + std::count(source.begin(), source.begin() + to, '\n');
  call.limit = 8;
  call.budget = 2;
  call.jobs = 2;
  regs::MutantsRun run;
  char err[regs::ErrSize];
  ASSERT_EQ(regs::run_mutants(call, run, err), 1) << err;
  ASSERT_EQ(run.results.size(), 8u);
  ASSERT_GT(regs::holes_of(run), 0u) << regs::mutants_report(run);
  EXPECT_NE(regs::mutants_report(run).find("A line for tests.txt"), std::string::npos);
  for (std::size_t i = 0; i < run.results.size(); ++i) {
    if (run.results[i].outcome != regs::MutantResult::Hole) continue;
    const std::string mutant = dir.path + "/mutant";
    support::write_file(mutant + ".cpp", regs::mutated(source, run.mutants[i]));
    ASSERT_EQ(support::run_shell(dir.path, "g++ -O2 -std=gnu++17 -o mutant mutant.cpp").status, 0);
    regs::Judgement failure;
    long long runs = 0;
    ASSERT_EQ(regs::test_once({mutant}, run.results[i].shrunk, 3, 256, failure, runs, err), 1) << err;
    EXPECT_NE(failure.verdict, regs::Verdict::Accepted) << run.mutants[i].what << " on\n"
                                                        << run.results[i].shrunk;
  }
}

}  // namespace
