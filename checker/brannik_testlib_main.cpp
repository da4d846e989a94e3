// brannik-testlib: the register task's checker for systems that follow
// testlib's calling convention (Polygon, Codeforces):
// brannik-testlib <input> <output> <answer> [<result-file>], status 0 ok,
// 1 wrong answer, 3 a failure of the jury's side or of the checker.
#include <cstdio>

#include "judge.h"

namespace {

constexpr int Ok = 0;
constexpr int WrongAnswer = 1;
constexpr int Fail = 3;

// The verdict line goes to standard error and, when one is named, into the
// result file; either left unwritten makes the run a failure.
int report(int status, const char* line, const char* result_path) {
  bool written = true;
  if (result_path) {
    std::FILE* result = std::fopen(result_path, "w");
    written = result && regs::write_all(result, line);
    if (result) written = std::fclose(result) == 0 && written;
  }
  if (!written) {
    std::fprintf(stderr, "FAIL cannot write the result file %s\n", result_path);
    return Fail;
  }
  return regs::write_all(stderr, line) ? status : Fail;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4)
    return report(Fail, "FAIL usage: brannik-testlib <input> <output> <answer> [<result-file>]\n", nullptr);
  // The jury's answer is not read: the contestant's output is judged by replaying it.
  const regs::Judgement j = regs::judge(argv[1], argv[2]);
  char line[regs::ErrSize + 64];
  int status = Fail;
  if (j.verdict == regs::Verdict::Accepted) {
    std::snprintf(line, sizeof line, "ok total cost %lld\n", j.total);
    status = Ok;
  } else if (j.verdict == regs::Verdict::Rejected) {
    std::snprintf(line, sizeof line, "wrong answer %s", regs::answer_line(j).text);
    status = WrongAnswer;
  } else {
    std::snprintf(line, sizeof line, "FAIL %s", regs::verdict_line(j).text);
  }
  return report(status, line, argc > 4 ? argv[4] : nullptr);
}
