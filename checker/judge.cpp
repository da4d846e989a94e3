// One answer judged against one task.
#include "judge.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <optional>

namespace regs {

namespace {

// An open failed: for want of memory nobody is to blame, otherwise the file is.
Judgement open_failure(Verdict blamed) {
  return errno == ENOMEM ? judgement_of(Verdict::CouldNotJudge, {FaultKind::OutOfMemory})
                         : judgement_of(blamed, {FaultKind::FailedOpening});
}

// An input opened for reading, and closed when done with: a file, standard
// input (left open), or a text in memory.
class Opened {
 public:
  // Whether it could be opened; errno says why not.
  bool open(const Input& input) {
    if (input.in_memory) {
      reader.emplace(input.text);
      return true;
    }
    file = input.path ? std::fopen(input.path, "r") : stdin;
    if (file) reader.emplace(file);
    return file != nullptr;
  }
  LineReader& lines() { return *reader; }
  Opened() = default;
  Opened(const Opened&) = delete;
  Opened& operator=(const Opened&) = delete;
  ~Opened() {
    if (file && file != stdin) std::fclose(file);
  }

 private:
  std::FILE* file = nullptr;
  std::optional<LineReader> reader;
};

// Opens the answer, replays it on the tree, followed by trace when there is
// one, and closes it; an answer that cannot be opened counts as `blamed`.
Judgement replay_input(const Input& input, Verdict blamed, Trace* trace = nullptr) {
  Opened answer;
  if (!answer.open(input)) return open_failure(blamed);
  Judgement j;
  if (!replay_answer(answer.lines(), j.message, j.claimed, j.total, &j.fault, trace))
    j.verdict = Verdict::Rejected;
  return j;
}

// The results that the replay left stored.
int stored_results() {
  int stored = 0;
  for (int i = 1; i <= M; ++i) stored += node_map[i]->K != 0 && node_map[i]->evaluated && node_map[i]->stored;
  return stored;
}

// The contestant's valid answer against the jury's cost.
Judgement against_least(const Judgement& answer) {
  Judgement j = answer;
  const auto fault = [&j](Verdict verdict, const Fault& f) {
    const Judgement with = judgement_of(verdict, f);
    j.verdict = with.verdict;
    j.fault = with.fault;
    std::memcpy(j.message, with.message, sizeof j.message);
  };
  if (answer.total > answer.least)
    fault(Verdict::Rejected, {FaultKind::Dearer, 0, {answer.total, answer.least}});
  else if (answer.total < answer.least)
    fault(Verdict::JuryFault, {FaultKind::NotOptimal, 0, {answer.least, answer.total}});
  return j;
}

// Reads the task and closes it: 1, or 0 with the judgement of its fault.
int read_input(const Input& input, Judgement& j) {
  j.verdict = Verdict::InputUnusable;
  Opened task;
  if (!task.open(input)) return j = open_failure(Verdict::InputUnusable), 0;
  return read_task(task.lines(), j.message, &j.fault);
}

Judgement judge_inputs(const Input& task, const Input& answer, const Input* jury_answer, Trace* trace) {
  Judgement j;
  if (!read_input(task, j)) return j;

  Judgement jury;
  if (jury_answer) {
    jury = replay_input(*jury_answer, Verdict::JuryFault);
    if (jury.verdict != Verdict::Accepted) {
      delete_data();
      if (jury.verdict != Verdict::Rejected) return jury;  // not opened, or out of memory
      return judgement_of(Verdict::JuryFault, jury.fault);
    }
    jury.stores = stored_results();
    clear_evaluated();
  }
  j = replay_input(answer, Verdict::Rejected, trace);
  if (jury_answer) {
    j.least = jury.total;
    j.least_stores = jury.stores;
    if (j.verdict == Verdict::Accepted) j.stores = stored_results();
    for (int i = 1; i <= M; ++i) j.most_stores += node_map[i]->K != 0;
    --j.most_stores;  // the root's result is held
  }
  delete_data();
  return jury_answer && j.verdict == Verdict::Accepted ? against_least(j) : j;
}

}  // namespace

Judgement judgement_of(Verdict verdict, const Fault& fault) {
  Judgement j;
  j.verdict = verdict;
  j.fault = fault;
  fault_message(fault, verdict == Verdict::JuryFault, j.message, ErrSize);
  return j;
}

Judgement judge(const Input& task, const Input& answer, const Input* jury, Trace* trace) {
  try {
    return judge_inputs(task, answer, jury, trace);
  } catch (const std::bad_alloc&) {
    return judgement_of(Verdict::CouldNotJudge, {FaultKind::OutOfMemory});
  }
}

Judgement judge(const char* task_path, const char* answer_path, const char* jury_path, Trace* trace) {
  const Input jury = Input::file(jury_path);
  return judge(Input::file(task_path), Input::file(answer_path), jury_path ? &jury : nullptr, trace);
}

Line verdict_line(const Judgement& j) {
  const char* prefix = j.verdict == Verdict::Accepted        ? ""
                       : j.verdict == Verdict::Rejected      ? "Error in output file: "
                       : j.verdict == Verdict::InputUnusable ? "Error in input file: "
                       : j.verdict == Verdict::JuryFault     ? "Error in jury's answer: "
                       : j.verdict == Verdict::RunFailed     ? ""
                                                             : "Error in checker: ";
  Line line;
  std::snprintf(line.text, sizeof line.text, "%s%s\n", prefix,
                j.verdict == Verdict::Accepted ? "Success" : j.message);
  return line;
}

std::string Line::words() const {
  std::string line = text;
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

Line answer_line(const Judgement& j) {
  Line line;
  if (j.verdict == Verdict::Accepted) {
    std::snprintf(line.text, sizeof line.text, "Success\n");
  } else {
    fault_message(j.fault, true, line.text, sizeof line.text - 1);
    std::strcat(line.text, "\n");
  }
  return line;
}

}  // namespace regs
