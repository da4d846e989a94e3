// A contestant's run judged whole.
#include "judge_run.h"

#include <cmath>

namespace regs {

Judgement judge_run(const Ending& run, const RunLimits& limits, std::string_view task,
                    std::string_view jury) {
  const auto failed = [](FaultKind kind, long long figure, long long other = 0) {
    return judgement_of(Verdict::RunFailed, {kind, 0, {figure, other}});
  };
  switch (run.end) {
    case Ending::TimedOut:
      return failed(FaultKind::TimeLimit,
                    std::llround(1000 * (limits.cpu_seconds > 0 ? limits.cpu_seconds : limits.seconds)));
    case Ending::OutputLimit:
      return failed(FaultKind::OutputLimit, static_cast<long long>(MaxOutput));
    case Ending::MemoryLimit:
      return failed(FaultKind::MemoryLimit, (run.peak_kib + 1023) / 1024, limits.resident_mib);
    case Ending::Signalled:
      return failed(FaultKind::Signalled, run.code);
    case Ending::Exited:
      if (run.code != 0) return failed(FaultKind::ExitStatus, run.code);
  }
  const Input answer = Input::memory(jury);
  return judge(Input::memory(task), Input::memory(run.output), &answer);
}

}  // namespace regs
