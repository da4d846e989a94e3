// brannik-validate: the register task's input validator for Kattis-format
// packages: status 42 when "REGS.IN" on standard input is valid, 43 with its
// first violation on standard output when it is not.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "brannik_version.h"
#include "descriptors.h"
#include "judge.h"
#include "task_validate.h"

namespace {

constexpr int Valid = 42;
constexpr int Invalid = 43;
constexpr int NotValidated = 1;

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
    return std::printf("brannik-validate %s\n", regs::Version) < 0;
  const int closed = regs::reopen_standard_descriptors();
  if (closed < 0 || closed & (1 << STDIN_FILENO | 1 << STDOUT_FILENO)) return NotValidated;
  char err[regs::ErrSize];
  if (regs::validate_task(stdin, err)) return Valid;
  char line[regs::ErrSize + 1];
  std::snprintf(line, sizeof line, "%s\n", err);
  return regs::write_all(stdout, line) ? Invalid : NotValidated;
}
