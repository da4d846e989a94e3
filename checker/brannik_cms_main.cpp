// brannik-cms: the register task's checker for CMS: brannik-cms <input>
// <correct_output> <contestant_output>; the score on standard output, the
// message on standard error, a non-zero status when it could not judge.
#include <unistd.h>

#include <cstdio>

#include "descriptors.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"

int main(int argc, char** argv) {
  regs::ignore_broken_pipes();
  const int closed = regs::reopen_standard_descriptors();
  if (argc < 4) {
    std::fputs("usage: brannik-cms <input> <correct_output> <contestant_output>\n", stderr);
    return regs::CmsError;
  }
  if (closed < 0 || closed & 1 << STDOUT_FILENO) return regs::CmsError;  // the score would reach nobody

  // The correct output sets the cost that the contestant's output must reach.
  const regs::Judgement j = regs::judge(argv[1], argv[3], argv[2]);
  if (j.verdict != regs::Verdict::Accepted && j.verdict != regs::Verdict::Rejected) {
    std::fputs(regs::verdict_line(j).text, stderr);
    return regs::CmsError;
  }
  char err[regs::ErrSize];
  if (!regs::write_all(stdout, j.verdict == regs::Verdict::Accepted ? "1.0\n" : "0.0\n", err)) {
    std::fputs("cannot write the score\n", stderr);
    return regs::CmsError;
  }
  return regs::write_all(stderr, regs::answer_line(j).text, err) ? regs::CmsScored : regs::CmsError;
}
