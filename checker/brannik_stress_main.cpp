// brannik-stress: runs a solution of the register task on generated tests
// until one fails, shrinks that test while it fails in the same way, and
// writes it: brannik-stress [options] -- <command...>.
#include <cstdio>

#include "args.h"
#include "descriptors.h"
#include "exit_status.h"
#include "output.h"
#include "stress.h"

int main(int argc, char** argv) {
  if (regs::asks_version(argc, argv)) return regs::print_version("brannik-stress");
  regs::StressCall call;
  char err[regs::ErrSize];
  if (!regs::read_stress_call(argc, argv, call, err)) return std::fprintf(stderr, "%s\n", err), regs::NotDone;
  if (regs::reopen_standard_descriptors() < 0) return regs::NotDone;

  regs::Search search;
  if (!regs::find_failure(call.command, call.options, search, err))
    return std::fprintf(stderr, "brannik-stress: %s\n", err), regs::NotDone;
  if (!search.plan) {
    std::printf("no failure in %llu tests (%.1f s), trees of up to %d nodes\n",
                static_cast<unsigned long long>(search.tests), search.seconds, call.options.max_nodes);
    return regs::Done;
  }
  std::printf("failing test %llu after %.1f s: %s\n", static_cast<unsigned long long>(search.tests),
              search.seconds, regs::gen_call(*search.plan).c_str());
  std::fflush(stdout);

  regs::Failure verdict;
  long long runs = 0;
  const regs::Task smallest = regs::shrink_failure(call.command, search, call.options.time_limit,
                                                   call.options.memory_mib, verdict, runs);
  std::printf("shrunk from %zu to %zu nodes in %lld runs\n", search.task.K.size(), smallest.K.size(), runs);
  std::printf("%s: %s\n", call.file.c_str(), verdict.verdict.c_str());
  if (!regs::write_file(call.file.c_str(), regs::task_text(smallest), err))
    return std::fprintf(stderr, "brannik-stress: cannot write %s: %s\n", call.file.c_str(), err),
           regs::NotDone;
  return regs::FoundFailure;
}
