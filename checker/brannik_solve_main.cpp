// brannik-solve: writes a least-cost answer of the register task for the task
// on standard input: brannik-solve < REGS.IN > REGS.OUT. Status 0 written,
// 1 the task is unusable (brannik's line on standard error), 2 not written.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "brannik_version.h"
#include "judge.h"
#include "solve.h"
#if REGS_POSIX
#include <unistd.h>

#include "descriptors.h"
#endif

namespace {

constexpr int Unusable = 1;
constexpr int NotWritten = 2;

int report(int status, regs::Verdict verdict, const char* message) {
  regs::Judgement j{verdict, "", 0};
  std::snprintf(j.message, sizeof j.message, "%s", message);
  std::fputs(regs::verdict_line(j).text, stderr);
  return status;
}

int cannot_write() {
  std::fputs("brannik-solve: cannot write the answer\n", stderr);
  return NotWritten;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
    return std::printf("brannik-solve %s\n", regs::Version) < 0;
#if REGS_POSIX
  // Closed descriptors are mended as in every program of the family; the
  // one-file build, which opens no file either, meets them as failed reads
  // and writes, and both builds say the same.
  const int closed = regs::reopen_standard_descriptors();
  if (closed < 0 || closed & 1 << STDOUT_FILENO) return cannot_write();
  if (closed & 1 << STDIN_FILENO)
    return report(Unusable, regs::Verdict::InputUnusable, "failed opening file");
#endif
  char err[regs::ErrSize];
  std::string answer;
  try {
    if (!regs::read_task(stdin, err)) return report(Unusable, regs::Verdict::InputUnusable, err);
    try {
      answer = regs::solve();
    } catch (const std::bad_alloc&) {
      regs::delete_data();
      throw;
    }
    regs::delete_data();
  } catch (const std::bad_alloc&) {
    return report(NotWritten, regs::Verdict::CouldNotJudge, "out of memory");
  }
  if (answer.empty()) return report(Unusable, regs::Verdict::InputUnusable, "root node is a leaf");
  return regs::write_all(stdout, answer.c_str()) ? 0 : cannot_write();
}
