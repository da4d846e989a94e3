// CMS's protocol of a checker: the score on standard output, the message on
// standard error, a non-zero status when it could not judge.
#include "cms_protocol.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "descriptors.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"
#include "score.h"

namespace regs {

int cms_check(int argc, char** argv, const char* form_text) {
  ignore_broken_pipes();
  const int closed = reopen_standard_descriptors();
  if (argc < 4) {
    std::fputs("usage: brannik-cms <input> <correct_output> <contestant_output>\n", stderr);
    return CmsError;
  }
  if (closed < 0 || closed & 1 << STDOUT_FILENO) return CmsError;  // the score would reach nobody

  ScoreForm form;
  char err[ErrSize];
  if (!read_score_form(form_text, form, err)) {
    std::fprintf(stderr, "%s\n", err);
    return CmsError;
  }
  // The correct output sets the cost that the contestant's output must reach.
  const Judgement j = judge(argv[1], argv[3], argv[2]);
  if (j.verdict != Verdict::Accepted && j.verdict != Verdict::Rejected) {
    std::fputs(verdict_line(j).text, stderr);
    return CmsError;
  }
  const Score score = score_of(j, form);
  if (!write_all(stdout, std::string(score.text) + "\n", err)) {
    std::fputs("cannot write the score\n", stderr);
    return CmsError;
  }
  return write_all(stderr, score.line.text, err) ? CmsScored : CmsError;
}

}  // namespace regs
