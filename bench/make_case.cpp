// Writes "REGS.IN" and "REGS.OUT" of a large accepted case into the current
// folder: make_case chain|wide [nodes]. Used by the benchmark. With
// make_case task chain|wide|random <nodes> <registers>, "REGS.IN" alone, for
// the solver to answer.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "cases.h"

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "task") {
    std::ofstream("REGS.IN", std::ios::binary)
        << cases::task(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    return 0;
  }
  const std::string shape = argc > 1 ? argv[1] : "";
  const int nodes = argc > 2 ? std::atoi(argv[2]) : 10000;
  if ((shape != "chain" && shape != "wide") || nodes < 1) {
    std::fprintf(
        stderr,
        "usage: make_case chain|wide [nodes] | make_case task chain|wide|random <nodes> <registers>\n");
    return 2;
  }
  const cases::Case c = shape == "chain" ? cases::chain(nodes) : cases::wide(nodes);
  std::ofstream("REGS.IN", std::ios::binary) << c.in;
  std::ofstream("REGS.OUT", std::ios::binary) << c.out;
  return 0;
}
