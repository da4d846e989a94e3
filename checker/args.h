// The command lines of the checker family's programs, read into plain records.
// Each reader returns 1 with the record filled, or 0 with the program's usage
// line in err (of size ErrSize) when the call does not follow it.
#pragma once

#include <cstdint>

#include "task_gen.h"

namespace regs {

// True when the call is "--version" alone.
bool asks_version(int argc, char** argv);

// A seed: a plain decimal from 0 to 4294967295 ("0", or digits without a
// leading zero). False, seed untouched, for anything else.
bool read_seed(const char* text, std::uint32_t& seed);

// brannik-gen <shape> <nodes> <N> <seed> [--degree=K] [--costs=LO,HI]
// [--load=LO,HI] [--store=LO,HI]: every number a plain decimal of at most 18
// digits; the ranges are generate_task's to check.
int read_gen_call(int argc, char** argv, TaskPlan& plan, char* err);

// testlib's call: [--testset <name>] [--group <name>] <input> <output>
// <answer> [<result-file> [-appes]], the two options anywhere and ignored.
struct TestlibCall {
  const char* input = nullptr;
  const char* output = nullptr;  // the contestant's
  const char* answer = nullptr;  // the jury's
  const char* result = nullptr;  // the result file, when one is named
  bool xml = false;              // -appes: the result in testlib's XML form
};
// On a bad call, result and xml are still set when the call names them, as
// testlib reports a bad call into the result file too.
int read_testlib_call(int argc, char** argv, TestlibCall& call, char* err);

// brannik-trace <input> <answer> [--svg <file>]
struct TraceCall {
  const char* task = nullptr;
  const char* answer = nullptr;
  const char* svg = nullptr;  // the picture's file, when asked for
};
int read_trace_call(int argc, char** argv, TraceCall& call, char* err);

}  // namespace regs
