// brannik-gen: writes one register task of a given shape, size and seed to
// standard output, for judging systems that make test sets by generator runs.
#include <cstdio>
#include <string>

#include "args.h"
#include "exit_status.h"
#include "output.h"
#include "regs.h"
#include "task_gen.h"

int main(int argc, char** argv) {
  if (regs::asks_version(argc, argv)) return regs::print_version("brannik-gen") ? regs::Done : regs::NotDone;
  regs::TaskPlan plan;
  std::string test;
  char err[regs::ErrSize];
  if (!regs::read_gen_call(argc, argv, plan, err) || !regs::generate_task(plan, test, err)) {
    std::fprintf(stderr, "%s\n", err);
    return regs::Unusable;
  }
  regs::ignore_broken_pipes();
  if (regs::write_all(stdout, test, err)) return regs::Done;
  std::fprintf(stderr, "cannot write the test: %s\n", err);
  return regs::NotDone;
}
