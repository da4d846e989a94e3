// The run of a program that misbehaves, and the limits it runs under.
#include "runner.h"

#include <gtest/gtest.h>

#include <string>

#include "regs.h"

namespace {

TEST(RunSolution, NoProgramHoldsTheRunUp) {
  const std::string large(1 << 20, '7');  // more than any pipe holds
  constexpr regs::RunLimits problemtools{
      .seconds = 30, .cpu_seconds = 1, .memory_mib = 64, .raise_stack = true};
  const struct {
    const char* script;
    const std::string& input;
    regs::Ending::End end;
    int code;
    std::size_t output;
    regs::RunLimits limits = {.seconds = 20};  // ample, also for a loaded machine under the sanitizers
    const char* text = nullptr;                // the whole output, where its bytes matter
    double cpu_seconds = 0;                    // the least processor time to report
  } table[] = {
      {"cat", large, regs::Ending::Exited, 0, large.size()},
      {"exit 3", large, regs::Ending::Exited, 3, 0},  // reads nothing
      {"kill -SEGV $$", large, regs::Ending::Signalled, 11, 0},
      // output closed, still running; output held by what it started
      {"exec >&-; sleep 5", large, regs::Ending::TimedOut, 0, 0, {.seconds = 0.5}},
      {"sleep 5 & echo started", large, regs::Ending::TimedOut, 0, 8, {.seconds = 0.5}},
      {"yes", large, regs::Ending::OutputLimit, 0, regs::MaxOutput},
      // problemtools' limits, in the program and in what it starts
      {"ulimit -t; ulimit -v; [ \"$(ulimit -s)\" = \"$(ulimit -H -s)\" ] && echo raised", large,
       regs::Ending::Exited, 0, 15, problemtools, "1\n65536\nraised\n"},
      // a resident memory over the limit, stopped while it runs, and one under it
      {"x=$(head -c 200000000 /dev/zero | tr '\\0' x); sleep 30",
       large,
       regs::Ending::MemoryLimit,
       0,
       0,
       {.seconds = 20, .resident_mib = 128}},
      {"x=$(head -c 1000000 /dev/zero | tr '\\0' x); echo ${#x}",
       large,
       regs::Ending::Exited,
       0,
       8,
       {.seconds = 20, .resident_mib = 128}},
      // Past the processor time: the kernel stops the run at a clock tick, which
      // can come a little before the limit.
      {"while :; do :; done", large, regs::Ending::TimedOut, 0, 0, problemtools, "", 0.5},
  };
  for (const auto& row : table) {
    regs::Ending run;
    char err[regs::ErrSize];
    ASSERT_EQ(regs::run_solution({"sh", "-c", row.script}, row.input, row.limits, run, err), 1) << err;
    EXPECT_EQ(run.end, row.end) << row.script;
    if (row.end == regs::Ending::Exited || row.end == regs::Ending::Signalled) {
      EXPECT_EQ(run.code, row.code) << row.script;
    }
    EXPECT_EQ(run.output.size(), row.output) << row.script;
    if (row.text) {
      EXPECT_EQ(run.output, row.text) << row.script;
    }
    EXPECT_GE(run.cpu_seconds, row.cpu_seconds) << row.script;
    // The memory said to be over the limit is over it.
    EXPECT_EQ(run.end == regs::Ending::MemoryLimit,
              run.peak_kib > row.limits.resident_mib * 1024 && row.limits.resident_mib > 0)
        << row.script;
  }
  regs::Ending run;
  char err[regs::ErrSize];
  EXPECT_EQ(regs::run_solution({"/no/such/solution"}, "", {}, run, err), 0);
  EXPECT_STREQ(err, "cannot run /no/such/solution: No such file or directory");
}

}  // namespace
