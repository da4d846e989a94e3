// brannik-validate: the register task's input validator for Kattis-format
// packages: status 42 when "REGS.IN" on standard input is valid, 43 with its
// first violation on standard output when it is not.
#include <cstdio>

#include "args.h"
#include "descriptors.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"
#include "task_validate.h"

int main(int argc, char** argv) {
  if (regs::asks_version(argc, argv))
    return regs::print_version("brannik-validate") ? regs::Done : regs::NotDone;
  const regs::StandardDescriptors standard = regs::reopen_standard_descriptors();
  if (standard.input_lost() || standard.output_lost()) return regs::KattisError;
  char err[regs::ErrSize];
  if (regs::validate_task(stdin, err)) return regs::KattisAccepted;
  char line[regs::ErrSize + 1];
  std::snprintf(line, sizeof line, "%s\n", err);
  return regs::write_all(stdout, line, err) ? regs::KattisRejected : regs::KattisError;
}
