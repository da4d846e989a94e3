// Writes "REGS.IN" and "REGS.OUT" of a large accepted case into the current
// folder: make_case chain|wide [nodes]. Used by the benchmark.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "cases.h"

int main(int argc, char** argv) {
  const std::string shape = argc > 1 ? argv[1] : "";
  const int nodes = argc > 2 ? std::atoi(argv[2]) : 10000;
  if ((shape != "chain" && shape != "wide") || nodes < 1) {
    std::fprintf(stderr, "usage: make_case chain|wide [nodes]\n");
    return 2;
  }
  const cases::Case c = shape == "chain" ? cases::chain(nodes) : cases::wide(nodes);
  std::ofstream("REGS.IN", std::ios::binary) << c.in;
  std::ofstream("REGS.OUT", std::ios::binary) << c.out;
  return 0;
}
