// brannik-mutants: how strong a package's tests are, by the mutants of a
// solution that they kill and those that only the stress search breaks:
// brannik-mutants [options] <package-dir> [<solution.cpp>].
#include <cstdio>

#include "args.h"
#include "descriptors.h"
#include "exit_status.h"
#include "mutants.h"
#include "output.h"

int main(int argc, char** argv) {
  if (regs::asks_version(argc, argv))
    return regs::print_version("brannik-mutants") ? regs::Done : regs::NotDone;
  regs::MutantsCall call;
  char err[regs::ErrSize];
  if (!regs::read_mutants_call(argc, argv, call, err))
    return std::fprintf(stderr, "%s\n", err), regs::NotDone;
  regs::ignore_broken_pipes();
  regs::reopen_standard_descriptors();
  regs::MutantsRun run;
  if (!regs::run_mutants(call, run, err))
    return std::fprintf(stderr, "brannik-mutants: %s\n", err), regs::NotDone;
  if (!regs::write_file(call.report.c_str(), regs::mutants_report(run), err))
    return std::fprintf(stderr, "brannik-mutants: cannot write %s: %s\n", call.report.c_str(), err),
           regs::NotDone;
  const std::size_t holes = regs::holes_of(run);
  std::fprintf(stderr, "brannik-mutants: %zu mutants run, %zu holes; %s\n", run.mutants.size(), holes,
               call.report.c_str());
  return holes > 0 ? int{regs::MutantsHoles} : int{regs::Done};
}
