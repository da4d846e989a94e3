// brannik: judges a contestant's "REGS.OUT" against the task input "REGS.IN".
#include <unistd.h>

#include <cstdio>

#include "descriptors.h"
#include "judge.h"

namespace {

// Could not judge, or could not report the verdict: never taken for a verdict.
constexpr int NotJudged = 2;

}  // namespace

int main() {
  const int closed = regs::reopen_standard_descriptors();
  if (closed < 0 || closed & 1 << STDOUT_FILENO) return NotJudged;  // the verdict would reach nobody

  const regs::Judgement j = regs::judge("REGS.IN", "REGS.OUT");
  char line[regs::ErrSize + 32];
  int status = 0;
  switch (j.verdict) {
    case regs::Verdict::Accepted:
      std::snprintf(line, sizeof line, "Success\n");
      break;
    case regs::Verdict::Rejected:
      std::snprintf(line, sizeof line, "Error in output file: %s\n", j.message);
      break;
    case regs::Verdict::InputUnusable:
      std::snprintf(line, sizeof line, "Error in input file: %s\n", j.message);
      status = 1;
      break;
    case regs::Verdict::CouldNotJudge:
      std::snprintf(line, sizeof line, "Error in checker: %s\n", j.message);
      status = NotJudged;
      break;
  }
  return regs::write_all(stdout, line) ? status : NotJudged;
}
