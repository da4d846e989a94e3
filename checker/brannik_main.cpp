// brannik: judges a contestant's "REGS.OUT" against the task input "REGS.IN".
#include <cstdio>

#include "descriptors.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"

int main() {
  // The verdict would reach nobody.
  if (regs::reopen_standard_descriptors().output_lost()) return regs::NotDone;

  // The verdict's buffer is set aside now: allocated after the tree is freed,
  // it would first have the allocator merge ten thousand freed nodes.
  static char verdict[sizeof(regs::Line)];
  std::setvbuf(stdout, verdict, _IOFBF, sizeof verdict);

  const regs::Judgement j = regs::judge("REGS.IN", "REGS.OUT");
  const int status = j.verdict == regs::Verdict::InputUnusable   ? regs::Unusable
                     : j.verdict == regs::Verdict::CouldNotJudge ? regs::NotDone
                                                                 : regs::Done;
  char err[regs::ErrSize];
  return regs::write_all(stdout, regs::verdict_line(j).text, err) ? status : regs::NotDone;
}
