// A contestant's run judged whole: how it ended, and then its answer.
#pragma once

#include <string_view>

#include "judge.h"
#include "runner.h"

namespace regs {

// The judgement of a run under `limits` on the task `task`, whose jury's
// answer is `jury`: a run that did not end in time with status 0 is
// RunFailed, with the fault of its end (TimeLimit, OutputLimit, MemoryLimit,
// Signalled or ExitStatus, with its figures); otherwise its output is judged
// against the task and the jury's answer, as judge() judges an answer.
Judgement judge_run(const Ending& run, const RunLimits& limits, std::string_view task, std::string_view jury);

}  // namespace regs
