// The command lines of the checker family's programs, read into plain records.
// Each reader returns 1 with the record filled, or 0 with the program's usage
// line in err (of size ErrSize) when the call does not follow it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "regs.h"
#include "score.h"
#include "task_gen.h"

namespace regs {

// True when the call is "--version" alone.
bool asks_version(int argc, char** argv);

// A seed: a plain decimal from 0 to 4294967295 ("0", or digits without a
// leading zero). False, seed untouched, for anything else.
bool read_seed(const char* text, std::uint32_t& seed);

// A number of seconds: a plain decimal with at most nine decimals after a
// point ("2", "0.5", "1.0"), a line break after it allowed, as a file holds
// it. False, seconds untouched, for anything else.
bool read_seconds(std::string_view text, double& seconds);

// brannik-gen <shape> <nodes> <N> <seed> [--degree=K] [--costs=LO,HI]
// [--load=LO,HI] [--store=LO,HI]: every number a plain decimal of at most 18
// digits; the ranges are generate_task's to check.
int read_gen_call(int argc, char** argv, TaskPlan& plan, char* err);

// testlib's call: [--testset <name>] [--group <name>] [--score <form>]
// <input> <output> <answer> [<result-file> [-appes]], the options anywhere;
// the first two name the test's set and group, which the verdict needs not.
// Without --score the form is `form`, the program's default (BRANNIK_SCORE).
struct TestlibCall {
  const char* input = nullptr;
  const char* output = nullptr;  // the contestant's
  const char* answer = nullptr;  // the jury's
  const char* result = nullptr;  // the result file, when one is named
  bool xml = false;              // -appes: the result in testlib's XML form
  ScoreForm form;
};
// On a bad call, result and xml are still set when the call names them, as
// testlib reports a bad call into the result file too.
int read_testlib_call(int argc, char** argv, const char* form, TestlibCall& call, char* err);

// The Kattis format's call of an output validator: <input> <answer>
// <feedback_dir> [--score <form>] [--points <P>], the flags from the
// problem's validator_flags, others passed over; P, the points of a test
// scored in full, a decimal above 0 (1 when not named). Without --score the
// form is `form`, the program's default (BRANNIK_SCORE).
struct KattisCall {
  const char* input = nullptr;
  const char* answer = nullptr;  // the jury's
  const char* feedback = nullptr;
  ScoreForm form;
  double points = 1;
};
// On a bad call, feedback is still set when the call names it.
int read_kattis_call(int argc, char** argv, const char* form, KattisCall& call, char* err);

// brannik-trace <input> <answer> [--svg <file>]
struct TraceCall {
  const char* task = nullptr;
  const char* answer = nullptr;
  const char* svg = nullptr;  // the picture's file, when asked for
};
int read_trace_call(int argc, char** argv, TraceCall& call, char* err);

// CMS's call of a checker: <input> <correct_output> <contestant_output>.
struct CmsCall {
  const char* input = nullptr;
  const char* correct = nullptr;     // the jury's answer
  const char* contestant = nullptr;  // the answer judged
};
int read_cms_call(int argc, char** argv, CmsCall& call, char* err);

// What a stress search is given.
struct StressOptions {
  std::uint32_t seed = 1;
  double budget = 60;  // seconds of searching
  int max_nodes = MaxNodes;
  double time_limit = 2;  // seconds a run
  long memory_mib = 256;  // peak resident memory a run
};

// brannik-stress [--seed=S] [--budget=SECONDS] [--max-nodes=M]
// [--time-limit=SECONDS] [--memory=MIB] [-o FILE] -- <command...>: S a seed
// (read_seed), M from 2 to MaxNodes, SECONDS as read_seconds reads them, MIB
// from 1 to 1048576, and a command of at least its program.
struct StressCall {
  StressOptions options;
  std::string file = "stress.in";
  std::vector<std::string> command;
};
int read_stress_call(int argc, char** argv, StressCall& call, char* err);

// brannik-report [--plan <file>] <package-dir> <programs-dir> <memory-MiB>:
// MiB a whole number above 0; the coverage plan's file when one is named.
struct ReportCall {
  std::string package, programs;
  long memory_mib = 0;
  std::string plan;  // none when empty
};
int read_report_call(int argc, char** argv, ReportCall& call, char* err);

// brannik-mutants [--budget=SECONDS] [--jobs=J] [--limit=N] [--lines=A-B]
// [--seed=S] [-o REPORT] <package-dir> [<solution.cpp>]: SECONDS as
// read_seconds reads them, J from 1 to 256, N from 0 (every mutant), lines A
// to B of the solution (1 <= A <= B), S a seed (read_seed); the solution by
// default the package's submissions/accepted/brannik-solve.cpp.
struct MutantsCall {
  std::string package, solution;
  std::string report = "mutants.md";
  double budget = 10;      // seconds of stress search for each mutant that the tests accept
  std::uint32_t seed = 1;  // the search's first seed
  int jobs = 0;            // 0: one a processor
  long long limit = 0;     // 0: every mutant
  long long first_line = 1, last_line = 1LL << 40;  // the lines whose mutants are judged
};
int read_mutants_call(int argc, char** argv, MutantsCall& call, char* err);

}  // namespace regs
