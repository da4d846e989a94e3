// The package's report: a test's facts, a run's output judged, and the tables.
#include "report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cases.h"
#include "judge_run.h"
#include "regs.h"
#include "support.h"
#include "worked_example.h"

namespace {

using support::WorkedIn;
using support::WorkedOut;

// 100 registers, C_l and C_s at 2147483647; a root of ten children with the
// lowest cost, one of them an inner node with the highest cost and one leaf.
const std::string ExtremesIn =
    "100\n2147483647 2147483647\n10\n-2147483648\n1\n2147483647\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n";
const std::string ExtremesOut = "21474836469\n2 1\n1 1\n";

regs::TestFacts facts_of(const std::string& name, const std::string& in, const std::string& ans) {
  regs::TestFacts t;
  t.name = name;
  char err[regs::ErrSize];
  EXPECT_EQ(regs::read_test(in, ans, t, err), 1) << name;
  return t;
}

TEST(Report, ReadsATestsFigures) {
  const regs::TestFacts t = facts_of("worked", WorkedIn, WorkedOut);
  EXPECT_EQ(t.N, 2);
  EXPECT_EQ(t.C_l, 1);
  EXPECT_EQ(t.C_s, 3);
  EXPECT_EQ(t.nodes, 7);
  EXPECT_EQ(t.base, 7);
  EXPECT_EQ(t.least, 11);
  EXPECT_EQ(t.stores_of(t.least), 1);
  // The jury's answer measured: its one store, and both registers held at once.
  EXPECT_EQ(t.reach[regs::Measure::Stores], std::vector<long long>{1});
  EXPECT_EQ(t.reach[regs::Measure::Spare], std::vector<long long>{0});
  EXPECT_EQ(t.reach[regs::Measure::Levels], std::vector<long long>{3});

  regs::TestFacts unusable;
  char err[regs::ErrSize];
  EXPECT_EQ(regs::read_test(WorkedIn, "11\n2 1\n5 1\n1 1\n", unusable, err), 0);
  EXPECT_STREQ(err, "Error in jury's answer: too many registers used at line 3");
  EXPECT_EQ(regs::read_test("2\n1 3\n", WorkedOut, unusable, err), 0);
  EXPECT_STREQ(err, "Error in input file: syntax error at line 3");
}

// Every way a run ends, judged into one judgement and shown as the report shows it.
TEST(Report, JudgesARunAndCountsAValidAnswersStores) {
  using regs::Ending;
  using V = regs::SystemVerdict;
  const struct {
    Ending::End end;
    int code;
    std::string out, jury;
    V verdict;
    std::string message;
    long long stores;
  } table[] = {
      {Ending::Exited, 0, WorkedOut, WorkedOut, V::AC, "", 1},
      {Ending::Exited, 0, "15\n2 0\n5 0\n1 1\n", WorkedOut, V::WA, "total cost 15, the least is 11", 2},
      {Ending::Exited, 0, "12\n2 0\n5 1\n1 1\n", WorkedOut, V::WA,
       "incorrect total cost: claimed 12, replayed 11", 1},
      {Ending::Exited, 0, "11\n2 1\n5 1\n1 1\n", WorkedOut, V::WA, "too many registers used at line 3", -1},
      {Ending::Exited, 0, WorkedOut, "15\n2 0\n5 0\n1 1\n", V::JE,
       "Error in jury's answer: not optimal: total cost 15, the contestant's answer costs 11", 1},
      {Ending::TimedOut, 0, WorkedOut, WorkedOut, V::TLE, "time limit: more than 1.5 s", -1},
      {Ending::OutputLimit, 0, "", WorkedOut, V::OLE, "output limit: more than 16777216 bytes", -1},
      {Ending::Signalled, 11, WorkedOut, WorkedOut, V::RTE, "crashed: signal 11", -1},
      {Ending::Exited, 3, WorkedOut, WorkedOut, V::RTE, "exit status 3", -1},
  };
  for (const auto& row : table) {
    const regs::TestFacts t = facts_of("worked", WorkedIn, row.jury);
    Ending ending;
    ending.end = row.end;
    ending.code = row.code;
    ending.output = row.out;
    const regs::Run run =
        regs::run_of(regs::judge_run(ending, {.seconds = 4.5, .cpu_seconds = 1.5}, WorkedIn, row.jury), t);
    EXPECT_EQ(run.verdict, row.verdict) << row.message;
    EXPECT_EQ(run.message, row.message);
    EXPECT_EQ(run.stores, row.stores) << row.message;
    EXPECT_EQ(run.test, "worked");
  }
}

TEST(Report, GivesEachSubmissionTheVerdictOfItsFirstFailure) {
  using V = regs::SystemVerdict;
  std::vector<regs::Run> runs(4);
  runs[0] = {"wrong_answer/a.cpp", "sample/1", V::AC, 0.004, "", 1, 1};
  runs[1] = {"wrong_answer/a.cpp", "secret/1", V::WA, 0.01, "total cost 15, the least is 11", 2, 1};
  runs[2] = {"wrong_answer/a.cpp", "secret/2", V::TLE, 1.5, "", -1, 1};
  runs[3] = {"accepted/b.cpp", "sample/1", V::RTE, 0, "signal 11", -1, 1};
  EXPECT_EQ(regs::verdict_of(runs), V::WA);
  EXPECT_EQ(regs::verdict_of({runs[0]}), V::AC);
}

// Every submission runs within the package's time limit; a run that waits
// without computing ends at the wall-clock deadline, one that writes without
// end at the output cap.
TEST(Report, RunsEverySubmissionAndStopsThoseThatNeverEnd) {
  const support::ScratchDir dir;
  const std::string package = dir.path + "/package", programs = dir.path + "/programs";
  std::filesystem::create_directories(package + "/data/sample");
  support::write_file(package + "/data/sample/1.in", WorkedIn);
  support::write_file(package + "/data/sample/1.ans", WorkedOut);
  support::write_file(package + "/.timelimit", "1.0\n");
  const struct {
    std::string program, script;
    regs::SystemVerdict verdict;
    std::string message;
  } table[] = {
      {"accepted/right", "cat >/dev/null; printf '" + WorkedOut + "'", regs::SystemVerdict::AC, ""},
      {"run_time_error/floods", "exec yes", regs::SystemVerdict::OLE,
       "output limit: more than 16777216 bytes"},
      {"wrong_answer/waits", "exec sleep 60", regs::SystemVerdict::TLE, "time limit: more than 1 s"},
  };
  for (const auto& row : table) {
    const std::string path = programs + "/" + row.program;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    support::write_file(path, "#!/bin/sh\n" + row.script + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
  }
  regs::Report report;
  char err[regs::ErrSize];
  ASSERT_EQ(regs::make_report({package, programs, 256, ""}, report, err), 1) << err;
  EXPECT_EQ(report.seconds, 1.0);
  ASSERT_EQ(report.runs.size(), std::size(table));
  for (std::size_t i = 0; i < std::size(table); ++i) {
    EXPECT_EQ(report.runs[i].submission, table[i].program + ".cpp");
    EXPECT_EQ(report.runs[i].verdict, table[i].verdict) << table[i].program;
    EXPECT_EQ(report.runs[i].message, table[i].message) << table[i].program;
  }
  EXPECT_EQ(report.off_verdicts,
            (std::vector<std::string>{"run_time_error/floods.cpp gets OLE, its folder asks for RTE",
                                      "wrong_answer/waits.cpp gets TLE, its folder asks for WA"}));
}

// A row that some test reaches, one that none does, one that none can, and
// one marked so that a test reaches after all.
TEST(Report, NamesTheTestsThatReachEachRowOfThePlan) {
  const cases::Case chain = cases::chain(10000);
  const std::vector<regs::TestFacts> tests = {facts_of("worked", WorkedIn, WorkedOut),
                                              facts_of("chain", chain.in, chain.out),
                                              facts_of("extremes", ExtremesIn, ExtremesOut)};
  std::vector<regs::PlanRow> plan;
  char err[regs::ErrSize];
  ASSERT_EQ(
      regs::read_plan("full=1.. | K = N\n"
                      "levels=10000 N=1 | a chain with one register\n"
                      "stores=100.. | many stores\n"
                      "N=1 stores=1.. | one register and a store | unreachable: a chain holds one result\n"
                      "N=100 stores=0 | a hundred registers | unreachable: wrongly\n",
                      plan, err),
      1)
      << err;
  std::string reached;
  for (const regs::Coverage& row : regs::plan_reached(plan, tests)) {
    reached += row.what + ":";
    for (const std::string& test : row.tests) reached += " " + test;
    reached += row.tests.empty() ? " " + row.reason + "\n" : "\n";
  }
  EXPECT_EQ(reached,
            "full=1..: K = N: worked chain\n"
            "levels=10000 N=1: a chain with one register: chain\n"
            "stores=100..: many stores: none\n"
            "N=1 stores=1..: one register and a store: unreachable: a chain holds one result\n"
            "N=100 stores=0: a hundred registers: unreachable: wrongly (yet reached by extremes)\n");
  EXPECT_EQ(
      regs::unmet_rows(plan, tests),
      (std::vector<std::string>{
          "line 3: stores=100.. (many stores) is reached by no test",
          "line 5: N=100 stores=0 (a hundred registers) is marked unreachable, yet extremes reach it"}));
}

}  // namespace
