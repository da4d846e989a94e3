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
  const int status = j.verdict == regs::Verdict::InputUnusable   ? 1
                     : j.verdict == regs::Verdict::CouldNotJudge ? NotJudged
                                                                 : 0;
  return regs::write_all(stdout, regs::verdict_line(j).text) ? status : NotJudged;
}
