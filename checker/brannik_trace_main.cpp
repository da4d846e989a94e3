// brannik-trace: replays an answer of the register task step by step for the
// jury: brannik-trace <input> <answer> [--svg <file>].
#include <cstdio>
#include <new>

#include "args.h"
#include "descriptors.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"
#include "trace.h"

namespace {

int cannot_write(const char* what, const char* reason) {
  std::fprintf(stderr, "brannik-trace: cannot write %s: %s\n", what, reason);
  return regs::NotDone;
}

int trace(const regs::TraceCall& call) {
  regs::Trace trace;
  const regs::Judgement j = regs::judge(call.task, call.answer, nullptr, &trace);
  char err[regs::ErrSize];
  if (!regs::write_all(stdout, regs::trace_table(j, trace), err)) return cannot_write("the table", err);
  if (j.verdict == regs::Verdict::InputUnusable) return regs::Unusable;
  if (j.verdict == regs::Verdict::CouldNotJudge) return regs::NotDone;
  if (!call.svg) return regs::Done;

  if (trace.task.K.empty()) {  // the answer could not be opened
    std::fputs("brannik-trace: no replay: the tree is not drawn\n", stderr);
    return regs::Done;
  }
  const std::size_t nodes = trace.task.K.size();
  if (nodes > regs::MaxDrawnNodes) {
    std::fprintf(stderr, "brannik-trace: %zu nodes, more than %d: the tree is not drawn\n", nodes,
                 regs::MaxDrawnNodes);
    return regs::Done;
  }
  return regs::write_file(call.svg, regs::trace_svg(j, trace), err) ? regs::Done
                                                                    : cannot_write(call.svg, err);
}

}  // namespace

int main(int argc, char** argv) {
  if (regs::asks_version(argc, argv))
    return regs::print_version("brannik-trace") ? regs::Done : regs::NotDone;
  regs::TraceCall call;
  char err[regs::ErrSize];
  if (!regs::read_trace_call(argc, argv, call, err)) {
    std::fprintf(stderr, "%s\n", err);
    return regs::NotDone;
  }
  regs::ignore_broken_pipes();
  // The trace would reach nobody.
  if (regs::reopen_standard_descriptors().output_lost()) return regs::NotDone;
  try {
    return trace(call);
  } catch (const std::bad_alloc&) {
    std::fputs("Error in checker: out of memory\n", stderr);
    return regs::NotDone;
  }
}
