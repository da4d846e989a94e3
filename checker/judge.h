// One answer judged against one task: the run that brannik and the judging
// systems' programs share, each mapping it to its own protocol.
#pragma once

#include <string>
#include <string_view>

#include "fault.h"
#include "replay.h"

namespace regs {

enum class Verdict {
  Accepted,       // no fault; total is the answer's cost
  Rejected,       // the answer's fault
  InputUnusable,  // the task's fault
  CouldNotJudge,  // neither file's fault: out of memory
  JuryFault,      // the jury's answer is unusable, or costs more than the answer
  RunFailed,      // the contestant's program did not end in time with status 0
};

struct Judgement {
  Verdict verdict = Verdict::Accepted;
  Fault fault;                 // what went wrong; its kind decides, never its words
  char message[ErrSize] = "";  // brannik's words for the fault, made from it
  long long claimed = 0;       // the answer's claimed cost, when its line 1 holds one
  long long total = 0;         // the answer's replayed cost, when its replay reached the end
  long long least = 0;         // the jury's answer's cost, when one was replayed
  // Stored results: the answer's, once its replay reached the end; the
  // jury's; and those of storing every result but the root's (inner nodes
  // less one), the most that any answer stores. Against a jury's answer only.
  int stores = 0, least_stores = 0, most_stores = 0;
};

// The judgement of a verdict and its fault, with the fault's message; the
// jury's fault in full, figures and all, as the jury must see it.
Judgement judgement_of(Verdict verdict, const Fault& fault);

// A file of a judgement: its path (standard input when null), or its text in memory.
struct Input {
  static Input file(const char* path) { return {path, {}, false}; }
  static Input memory(std::string_view text) { return {nullptr, text, true}; }
  const char* path;
  std::string_view text;
  bool in_memory;
};

// Reads the task and closes it. With a jury's answer at
// jury_path, replays that first and closes it: unopenable or rejected, it is
// a JuryFault in the replay's words (figures included). Only then opens the
// answer at answer_path (standard input when null, left open) and replays it
// on the same tree. Against a jury's answer, a valid answer is accepted only
// at the jury's cost, rejected above it (Dearer: "total cost 15, the least is
// 11") and a JuryFault below it (NotOptimal). A file that cannot be opened or read is "failed
// opening file", counted against the file it concerns. Nothing stays
// allocated and no file stays open. With a trace, the replay of the answer
// is recorded in it (replay_answer).
Judgement judge(const Input& task, const Input& answer, const Input* jury = nullptr, Trace* trace = nullptr);
// The same of files by their paths.
Judgement judge(const char* task_path, const char* answer_path, const char* jury_path = nullptr,
                Trace* trace = nullptr);

struct Line {
  char text[ErrSize + 64];
  std::string words() const;  // the line without its line break
};

// brannik's verdict line, line break included: "Success", or the message
// after "Error in output file: ", "Error in input file: ", "Error in jury's
// answer: " or "Error in checker: ".
Line verdict_line(const Judgement& j);

// What a contestant reads of a judged answer under every system: "Success"
// or the replay's message, line break included; an incorrect total with its
// two figures ("incorrect total cost: claimed 12, replayed 11").
Line answer_line(const Judgement& j);

}  // namespace regs
