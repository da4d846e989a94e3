// The built brannik, run in a scratch folder: verdict line, silence on
// standard error and exit status together.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "cases.h"
#include "support.h"
#include "worked_example.h"

namespace {

using support::ShellRun;
using support::WorkedIn;
using support::WorkedOut;

// Runs brannik with the given files (none where a file is absent) under the
// given shell prefix, in a folder of its own.
ShellRun run(const std::optional<std::string>& regs_in, const std::optional<std::string>& regs_out,
             const std::string& prefix = "", const std::string& args = "") {
  const support::ScratchDir dir;
  if (regs_in) support::write_file(dir.path + "/REGS.IN", *regs_in);
  if (regs_out) support::write_file(dir.path + "/REGS.OUT", *regs_out);
  return support::run_shell(dir.path, prefix + " '" BRANNIK "' " + args);
}

TEST(Brannik, PrintsOneVerdictLineAndItsStatus) {
  const std::string chain_in = cases::chain(10000).in;
  const struct {
    const char* name;
    std::optional<std::string> in, out;
    std::string verdict;
    int status;
    std::string shell = "";  // run before brannik, in its shell
  } table[] = {
      {"accepted", WorkedIn, WorkedOut, "Success\n", 0},
      {"wrong answer", WorkedIn, "12\n2 0\n5 1\n1 1\n", "Error in output file: incorrect total cost\n", 0},
      {"no answer", WorkedIn, std::nullopt, "Error in output file: failed opening file\n", 0},
      {"no task", std::nullopt, WorkedOut, "Error in input file: failed opening file\n", 1},
      {"both defective", "0\n", "", "Error in input file: N out of range at line 1\n", 1},
      {"too many nodes", cases::chain(10001).in, WorkedOut, "Error in input file: too many nodes\n", 1},
      {"trash after a deep tree", chain_in + "\n", WorkedOut,
       "Error in input file: trash in the end of file\n", 1},
      {"defect at the bottom of a deep tree", chain_in.substr(0, chain_in.size() - 2) + "-1\n", WorkedOut,
       "Error in input file: K out of range at line 20001\n", 1},
      {"deep tree accepted", chain_in, cases::chain(10000).out, "Success\n", 0},
      {"deep tree with a wrong answer", chain_in, "1\n9999 1\n",
       "Error in output file: root node has not been computed properly\n", 0},
      {"task is a folder", std::nullopt, WorkedOut, "Error in input file: failed opening file\n", 1,
       "mkdir REGS.IN;"},
      {"answer is a folder", WorkedIn, std::nullopt, "Error in output file: failed opening file\n", 0,
       "mkdir REGS.OUT;"},
      {"verdict to a full disk", WorkedIn, WorkedOut, "", 2, "exec >/dev/full;"},
      {"standard output closed", WorkedIn, WorkedOut, "", 2, "exec >&-;"},
      {"one free descriptor: REGS.IN closed first", WorkedIn, WorkedOut, "Success\n", 0,
       "exec 3<&- 4<&- 5<&- 6<&- 7<&- 8<&- 9<&-; ulimit -n 4;"},
  };
  for (const auto& row : table) {
    // A 2 MiB stack, as the checker is promised: deep trees must fit.
    const ShellRun o = run(row.in, row.out, "ulimit -s 2048; " + row.shell);
    EXPECT_EQ(o.out, row.verdict) << row.name;
    EXPECT_EQ(o.err, "") << row.name;
    EXPECT_EQ(o.status, row.status) << row.name;
  }
}

TEST(Brannik, OutOfMemoryIsReportedAsNoVerdict) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers' runtime cannot start under a small address space limit";
#endif
  // Address space limits from too small to start at all to enough for the
  // 10000-node chain: each run succeeds, dies before it judges, or says it
  // ran out of memory; never a verdict on part of the tree. brannik-kattis
  // (its feedback files on standard output) maps it to its own statuses.
  const support::ScratchDir dir;
  const cases::Case chain = cases::chain(10000);
  support::write_file(dir.path + "/REGS.IN", chain.in);
  support::write_file(dir.path + "/REGS.OUT", chain.out);
  const struct {
    const char* name;
    std::string command;  // run under the limit
    int accepted, rejected, not_judged;
  } programs[] = {
      {"brannik", "'" BRANNIK "'", 0, 1, 2},
      {"brannik-kattis", "'" BRANNIK_KATTIS "' REGS.IN REGS.OUT fb < REGS.OUT", 42, 43, 1},
  };
  for (const auto& program : programs) {
    int out_of_memory = 0;
    for (int limit = 1000; limit <= 12000; limit += 200) {
      const ShellRun o =
          support::run_shell(dir.path, "rm -rf fb; mkdir fb; (ulimit -v " + std::to_string(limit) + "; " +
                                           program.command + "); s=$?; cat fb/* 2>/dev/null; exit $s");
      const std::string name = program.name + (" at " + std::to_string(limit));
      if (o.out == "Error in checker: out of memory\n" && o.status == program.not_judged) ++out_of_memory;
      if (o.out.empty() && o.status != program.accepted && o.status != program.rejected) continue;  // died
      EXPECT_TRUE((o.out == "Success\n" && o.status == program.accepted) || o.status == program.not_judged)
          << name << ": " << o.out;
      EXPECT_EQ(o.err, "") << name;
    }
    EXPECT_GT(out_of_memory, 0) << program.name;
  }
}

TEST(Brannik, IgnoresItsArguments) {
  const ShellRun o = run(WorkedIn, WorkedOut, "", "REGS.IN other --help");
  EXPECT_EQ(o.out, "Success\n");
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.status, 0);
}

}  // namespace
