// CMS's protocol of a checker: the score on standard output, the message on
// standard error, a non-zero status when it could not judge.
#include "cms_protocol.h"

#include <cstdio>
#include <string>

#include "args.h"
#include "descriptors.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"
#include "score.h"

namespace regs {

int cms_main(int argc, char** argv, const char* form_text) {
  ignore_broken_pipes();
  const StandardDescriptors standard = reopen_standard_descriptors();
  CmsCall call;
  ScoreForm form;
  char err[ErrSize];
  if (!read_cms_call(argc, argv, call, err) || !read_score_form(form_text, form, err)) {
    std::fprintf(stderr, "%s\n", err);
    return CmsError;
  }
  if (standard.output_lost()) return CmsError;  // the score would reach nobody

  // The correct output sets the cost that the contestant's output must reach.
  const Judgement j = judge(call.input, call.contestant, call.correct);
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
