// One answer judged against one task from their files.
#include "judge.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace regs {

namespace {

Judgement verdict_of(Verdict verdict, const char* message) {
  Judgement j{verdict, "", 0};
  std::snprintf(j.message, ErrSize, "%s", message);
  return j;
}

// An open failed: for want of memory nobody is to blame, otherwise the file is.
Judgement open_failure(Verdict blamed) {
  return errno == ENOMEM ? verdict_of(Verdict::CouldNotJudge, "out of memory")
                         : verdict_of(blamed, "failed opening file");
}

Judgement judge_files(const char* task_path, const char* answer_path, Trace* trace) {
  Judgement j{Verdict::InputUnusable, "", 0};
  std::FILE* task = std::fopen(task_path, "r");
  if (!task) return open_failure(Verdict::InputUnusable);
  int read = 0;
  try {
    read = read_task(task, j.message);
  } catch (const std::bad_alloc&) {
    std::fclose(task);
    throw;
  }
  std::fclose(task);
  if (!read) return j;

  std::FILE* answer = answer_path ? std::fopen(answer_path, "r") : stdin;
  if (!answer) {
    delete_data();
    return open_failure(Verdict::Rejected);
  }
  j.verdict = replay_answer(answer, j.message, j.total, trace) ? Verdict::Accepted : Verdict::Rejected;
  if (answer != stdin) std::fclose(answer);
  delete_data();
  return j;
}

}  // namespace

Judgement judge(const char* task_path, const char* answer_path, Trace* trace) {
  try {
    return judge_files(task_path, answer_path, trace);
  } catch (const std::bad_alloc&) {
    return verdict_of(Verdict::CouldNotJudge, "out of memory");
  }
}

Line verdict_line(const Judgement& j) {
  const char* prefix = j.verdict == Verdict::Accepted        ? ""
                       : j.verdict == Verdict::Rejected      ? "Error in output file: "
                       : j.verdict == Verdict::InputUnusable ? "Error in input file: "
                                                             : "Error in checker: ";
  Line line;
  std::snprintf(line.text, sizeof line.text, "%s%s\n", prefix,
                j.verdict == Verdict::Accepted ? "Success" : j.message);
  return line;
}

Line answer_line(const Judgement& j) {
  Line line;
  std::snprintf(line.text, sizeof line.text, "%s\n", j.verdict == Verdict::Accepted ? "Success" : j.message);
  return line;
}

bool write_all(std::FILE* stream, const char* text) {
  const bool written = std::fputs(text, stream) >= 0;
  return std::fflush(stream) == 0 && written && !std::ferror(stream);
}

}  // namespace regs
