// A partially accepted answer of the register task's scoring package: the
// least-cost answer with its first held result (the root's aside) stored
// instead. A stored result frees its register until its parent loads it, so
// the schedule stays valid, and it costs one store and one load more wherever
// the least holds a result. Reads the task on standard input, writes the
// answer on standard output; one file of standard C++, as a judging system
// compiles a submission.
#include <cstdio>
#include <string>

#include "exit_status.h"
#include "regs.h"
#include "solve.h"

int main() {
  std::string answer;
  regs::Fault fault;
  regs::LineReader task(stdin);
  if (!regs::solve_task(task, answer, fault)) return regs::Unusable;
  long long total = std::stoll(answer);
  const std::size_t first_step = answer.find('\n') + 1, root_step = answer.rfind('\n', answer.size() - 2) + 1;
  const std::size_t held = answer.find(" 1\n", first_step);
  if (held < root_step) {
    answer[held + 1] = '0';
    total += 0LL + regs::C_l + regs::C_s;
  }
  std::printf("%lld\n%s", total, answer.c_str() + first_step);
  return regs::Done;
}
