// brannik: judges a contestant's "REGS.OUT" against the task input "REGS.IN".
#include <cstdio>

#include "regs.h"

int main() {
  char err[regs::ErrSize];
  if (!regs::read_data(err)) {
    std::printf("Error in input file: %s\n", err);
    return 1;
  }
  long long claimed_cost = 0;
  if (regs::verify_data(err, claimed_cost))
    std::printf("Success\n");
  else
    std::printf("Error in output file: %s\n", err);
  regs::delete_data();
  return 0;
}
