// One answer judged against one task from their files: the run that brannik
// and the judging systems' programs share, each mapping it to its own protocol.
#pragma once

#include "regs.h"

namespace regs {

enum class Verdict {
  Accepted,       // the message is empty, total is the answer's cost
  Rejected,       // the answer's fault, in the replay's words
  InputUnusable,  // the task's fault, in the reader's words
  CouldNotJudge,  // neither file's fault: "out of memory"
};

struct Judgement {
  Verdict verdict;
  char message[ErrSize];
  long long total;  // the claimed cost when the answer is accepted
};

// Reads the task at task_path and closes it; only then opens the answer at
// answer_path (standard input when null, left open) and replays it. A file
// that cannot be opened or read is "failed opening file", counted against the
// file it concerns. Nothing stays allocated and no file stays open. With a
// trace, the replay is recorded in it (replay_answer).
Judgement judge(const char* task_path, const char* answer_path, Trace* trace = nullptr);

struct Line {
  char text[ErrSize + 32];
};

// brannik's verdict line, line break included: "Success", or the message
// after "Error in output file: ", "Error in input file: " or "Error in checker: ".
Line verdict_line(const Judgement& j);

// What a contestant reads of a judged answer under every system: "Success"
// or the replay's message, line break included.
Line answer_line(const Judgement& j);

// Writes text to the stream and flushes it; false when any of it was not written.
bool write_all(std::FILE* stream, const char* text);

}  // namespace regs
