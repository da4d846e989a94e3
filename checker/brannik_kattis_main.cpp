// brannik-kattis: the register task's output validator for Kattis-format
// judges (DOMjudge, Kattis): brannik-kattis <input> <answer> <feedback_dir>
// [--score <form>] [--points <P>] < <team output>; status 42 accepted, 43
// rejected, 1 not judged. With a partial form, every valid answer is
// accepted and its score, times P, is written to score.txt.
#include <cstdio>
#include <new>
#include <string>

#include "args.h"
#include "default_score.h"
#include "descriptors.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"
#include "score.h"
#include "trace.h"

namespace {

int write_feedback(const char* dir, const char* name, const std::string& text) {
  char err[regs::ErrSize];
  return regs::write_file((std::string(dir) + "/" + name).c_str(), text, err);
}

// What went wrong on the jury's side, where the judge shows it to the jury.
int not_judged(const char* dir, const char* text) {
  if (!dir || !write_feedback(dir, "judgeerror.txt", text)) std::fputs(text, stderr);
  return regs::KattisError;
}

// What the jury reads of a judged answer: the verdict and, when the answer is
// rejected, its replay step by step. The team sees none of it.
std::string jury_message(const regs::Judgement& j, const regs::Score& score, const regs::Trace& trace) {
  std::string text = score.line.text;
  if (j.verdict == regs::Verdict::Rejected && !score.partial) text += '\n' + regs::trace_table(j, trace);
  return text;
}

// The score of a test in the problem's points: its value times the points of a test scored in full.
std::string points_of(const regs::Score& score, double points) {
  char text[32];
  regs::format_score(score.value * points, text, sizeof text);
  return std::string(text) + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  regs::KattisCall call;
  char err[regs::ErrSize];
  const bool called = regs::read_kattis_call(argc, argv, BRANNIK_SCORE, call, err);
  const regs::StandardDescriptors standard = regs::reopen_standard_descriptors();
  if (!called) return not_judged(call.feedback, (std::string(err) + "\n").c_str());
  if (standard.input_lost()) return not_judged(call.feedback, "no team output: standard input closed\n");

  // The jury's answer sets the cost that the team output must reach.
  try {
    regs::Trace trace;
    const regs::Judgement j = regs::judge(call.input, nullptr, call.answer, &trace);
    if (j.verdict != regs::Verdict::Accepted && j.verdict != regs::Verdict::Rejected)
      return not_judged(call.feedback, regs::verdict_line(j).text);
    const regs::Score score = regs::score_of(j, call.form);
    if (!write_feedback(call.feedback, "judgemessage.txt", jury_message(j, score, trace)))
      return not_judged(call.feedback, "cannot write judgemessage.txt in the feedback folder\n");
    const bool accepted = j.verdict == regs::Verdict::Accepted || score.partial;
    if (accepted && call.form.kind != regs::ScoreForm::Least &&
        !write_feedback(call.feedback, "score.txt", points_of(score, call.points)))
      return not_judged(call.feedback, "cannot write score.txt in the feedback folder\n");
    return accepted ? regs::KattisAccepted : regs::KattisRejected;
  } catch (const std::bad_alloc&) {
    return not_judged(call.feedback, "Error in checker: out of memory\n");
  }
}
