// One answer judged against one task from their files.
#include "judge.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace regs {

namespace {

Judgement verdict_of(Verdict verdict, const char* message) {
  Judgement j{verdict, ""};
  std::snprintf(j.message, ErrSize, "%s", message);
  return j;
}

// An open failed: for want of memory nobody is to blame, otherwise the file is.
Judgement open_failure(Verdict blamed) {
  return errno == ENOMEM ? verdict_of(Verdict::CouldNotJudge, "out of memory")
                         : verdict_of(blamed, "failed opening file");
}

// The replay's message with the figures that explain it, into out.
void describe(char* out, std::size_t size, const Judgement& j) {
  if (std::strcmp(j.message, IncorrectTotal) == 0)
    std::snprintf(out, size, "%s: claimed %lld, replayed %lld", IncorrectTotal, j.claimed, j.total);
  else
    std::snprintf(out, size, "%s", j.message);
}

// Opens the answer at path (standard input when null, left open), replays it
// on the tree, followed by trace when there is one, and closes it; an answer
// that cannot be opened counts as `blamed`.
Judgement replay_file(const char* path, Verdict blamed, Trace* trace = nullptr) {
  std::FILE* answer = path ? std::fopen(path, "r") : stdin;
  if (!answer) return open_failure(blamed);
  Judgement j{Verdict::Rejected, ""};
  if (replay_answer(answer, j.message, j.claimed, j.total, trace)) j.verdict = Verdict::Accepted;
  if (answer != stdin) std::fclose(answer);
  return j;
}

// The contestant's valid answer against the jury's cost.
Judgement against_least(Judgement j) {
  if (j.total > j.least) {
    j.verdict = Verdict::Rejected;
    std::snprintf(j.message, ErrSize, "total cost %lld, the least is %lld", j.total, j.least);
  } else if (j.total < j.least) {
    j.verdict = Verdict::JuryFault;
    std::snprintf(j.message, ErrSize, "not optimal: total cost %lld, the contestant's answer costs %lld",
                  j.least, j.total);
  }
  return j;
}

Judgement judge_files(const char* task_path, const char* answer_path, const char* jury_path, Trace* trace) {
  Judgement j{Verdict::InputUnusable, ""};
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

  long long least = 0;
  if (jury_path) {
    Judgement jury = replay_file(jury_path, Verdict::JuryFault);
    if (jury.verdict != Verdict::Accepted) {
      delete_data();
      if (jury.verdict != Verdict::Rejected) return jury;  // not opened, or out of memory
      Judgement fault{Verdict::JuryFault, ""};
      describe(fault.message, ErrSize, jury);
      return fault;
    }
    least = jury.total;
    clear_evaluated();
  }
  j = replay_file(answer_path, Verdict::Rejected, trace);
  delete_data();
  j.least = least;
  return jury_path && j.verdict == Verdict::Accepted ? against_least(j) : j;
}

}  // namespace

Judgement judge(const char* task_path, const char* answer_path, const char* jury_path, Trace* trace) {
  try {
    return judge_files(task_path, answer_path, jury_path, trace);
  } catch (const std::bad_alloc&) {
    return verdict_of(Verdict::CouldNotJudge, "out of memory");
  }
}

Line verdict_line(const Judgement& j) {
  const char* prefix = j.verdict == Verdict::Accepted        ? ""
                       : j.verdict == Verdict::Rejected      ? "Error in output file: "
                       : j.verdict == Verdict::InputUnusable ? "Error in input file: "
                       : j.verdict == Verdict::JuryFault     ? "Error in jury's answer: "
                                                             : "Error in checker: ";
  Line line;
  std::snprintf(line.text, sizeof line.text, "%s%s\n", prefix,
                j.verdict == Verdict::Accepted ? "Success" : j.message);
  return line;
}

Line answer_line(const Judgement& j) {
  Line line;
  if (j.verdict == Verdict::Accepted) {
    std::snprintf(line.text, sizeof line.text, "Success\n");
  } else {
    describe(line.text, sizeof line.text - 1, j);
    std::strcat(line.text, "\n");
  }
  return line;
}

bool write_all(std::FILE* stream, const char* text) {
  const bool written = std::fputs(text, stream) >= 0;
  return std::fflush(stream) == 0 && written && !std::ferror(stream);
}

}  // namespace regs
