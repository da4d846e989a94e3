// brannik-kattis: the register task's output validator for Kattis-format
// judges (DOMjudge, Kattis): brannik-kattis <input> <answer> <feedback_dir>
// [flags...] < <team output>; status 42 accepted, 43 rejected, 1 not judged.
#include <unistd.h>

#include <cstdio>
#include <new>
#include <string>

#include "descriptors.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"
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
std::string jury_message(const regs::Judgement& j, const regs::Trace& trace) {
  std::string text = regs::answer_line(j).text;
  if (j.verdict == regs::Verdict::Rejected) text += '\n' + regs::trace_table(j, trace);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const char* dir = argc > 3 ? argv[3] : nullptr;
  const int closed = regs::reopen_standard_descriptors();
  if (!dir)
    return not_judged(nullptr, "usage: brannik-kattis <input> <answer> <feedback_dir> < <team output>\n");
  if (closed < 0 || closed & 1 << STDIN_FILENO)
    return not_judged(dir, "no team output: standard input closed\n");

  // The jury's answer sets the cost that the team output must reach.
  try {
    regs::Trace trace;
    const regs::Judgement j = regs::judge(argv[1], nullptr, argv[2], &trace);
    if (j.verdict != regs::Verdict::Accepted && j.verdict != regs::Verdict::Rejected)
      return not_judged(dir, regs::verdict_line(j).text);
    if (!write_feedback(dir, "judgemessage.txt", jury_message(j, trace)))
      return not_judged(dir, "cannot write judgemessage.txt in the feedback folder\n");
    return j.verdict == regs::Verdict::Accepted ? regs::KattisAccepted : regs::KattisRejected;
  } catch (const std::bad_alloc&) {
    return not_judged(dir, "Error in checker: out of memory\n");
  }
}
