// brannik-solve: writes a least-cost answer of the register task for the task
// on standard input: brannik-solve < REGS.IN > REGS.OUT. Status 0 written,
// 1 the task is unusable (brannik's line on standard error), 2 not written.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "args.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"
#include "solve.h"
#if REGS_POSIX
#include "descriptors.h"
#endif

namespace {

int report(int status, regs::Verdict verdict, const regs::Fault& fault) {
  std::fputs(regs::verdict_line(regs::judgement_of(verdict, fault)).text, stderr);
  return status;
}

int cannot_write(const char* reason) {
  std::fprintf(stderr, "brannik-solve: cannot write the answer: %s\n", reason);
  return regs::NotDone;
}

}  // namespace

int main(int argc, char** argv) {
  if (regs::asks_version(argc, argv))
    return regs::print_version("brannik-solve") ? regs::Done : regs::NotDone;
  regs::ignore_broken_pipes();
#if REGS_POSIX
  // Closed descriptors are mended as in every program of the family; the
  // one-file build, which opens no file either, meets them as failed reads
  // and writes, and both builds say the same.
  const regs::StandardDescriptors standard = regs::reopen_standard_descriptors();
  if (standard.output_lost()) return cannot_write(std::strerror(EBADF));
  if (standard.input_lost())
    return report(regs::Unusable, regs::Verdict::InputUnusable, {regs::FaultKind::FailedOpening});
#endif
  regs::Fault fault;
  std::string answer;
  try {
    regs::LineReader task(stdin);
    if (!regs::solve_task(task, answer, fault))
      return report(regs::Unusable, regs::Verdict::InputUnusable, fault);
  } catch (const std::bad_alloc&) {
    return report(regs::NotDone, regs::Verdict::CouldNotJudge, {regs::FaultKind::OutOfMemory});
  }
  char err[regs::ErrSize];
  return regs::write_all(stdout, answer, err) ? regs::Done : cannot_write(err);
}
