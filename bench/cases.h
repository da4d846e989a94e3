// Large register tasks with a full accepted answer, for the tests and the benchmark.
#pragma once

#include <algorithm>
#include <random>
#include <string>

namespace cases {

struct Case {
  std::string in;   // "REGS.IN"
  std::string out;  // "REGS.OUT"
};

// n nodes, each inner node with one child: a tree n levels deep. One register
// suffices when every result is held.
inline Case chain(int n) {
  Case c{"1\n1 1\n", ""};
  std::string steps;
  for (int i = 1; i < n; ++i) c.in += "1\n1\n";
  c.in += "0\n";
  for (int i = n - 1; i >= 1; --i) steps += std::to_string(i) + " 1\n";
  c.out = std::to_string(n - 1 + 1) + "\n" + steps;  // n - 1 node costs and one load
  return c;
}

namespace detail {

// Writes the block of the node at breadth-first index b, numbering in pre-order,
// and appends its step after its children's: every inner node but the root is
// stored, so each of its operands is loaded.
inline void wide_block(int b, int n, int& number, Case& c, std::string& steps, long long& total) {
  const int mine = ++number;
  int k = 0;
  while (k < 10 && 10 * b + k + 1 < n) ++k;
  c.in += std::to_string(k) + "\n";
  if (k == 0) return;
  c.in += "1\n";
  for (int i = 1; i <= k; ++i) wide_block(10 * b + i, n, number, c, steps, total);
  const bool is_root = b == 0;
  steps += std::to_string(mine) + (is_root ? " 1\n" : " 0\n");
  total += 1 + 2LL * k + (is_root ? 0 : 3);
}

}  // namespace detail

// n nodes filled breadth first with ten children per inner node: a tree four or
// five levels deep, with C_l = 2, C_s = 3 and every node cost 1.
inline Case wide(int n) {
  Case c{"10\n2 3\n", ""};
  std::string steps;
  int number = 0;
  long long total = 0;
  detail::wide_block(0, n, number, c, steps, total);
  c.out = std::to_string(total) + "\n" + steps;
  return c;
}

// A task without an answer, for the solver to answer: n nodes and the given
// number of registers, in the shape "chain" (one child per inner node, which
// never needs a store), "comb" (n / 4 levels, each node holding the next level
// and a node of two leaves: with two registers one store a level), "wide" (ten children per inner node,
// filled breadth first; registers at least 10) or "random" (each node a leaf half the time, otherwise of 1 to
// min(10, registers) children, from a fixed seed). Every cost is 1, C_l = 2, C_s = 3.
inline std::string task(const std::string& shape, int n, int registers) {
  if (shape == "wide") return std::to_string(registers) + wide(n).in.substr(2);
  std::string in = std::to_string(registers) + "\n2 3\n";
  if (shape == "comb") {
    const int levels = (n - 1) / 4;
    for (int i = 0; i < levels; ++i) in += "2\n1\n";
    in += "0\n";
    for (int i = 0; i < levels; ++i) in += "2\n1\n0\n0\n";
    return in;
  }
  const int most = std::min(10, registers);
  std::mt19937 random(12345);
  for (int i = 0, open = 1; i < n; ++i) {
    const int after = n - i - 1;  // nodes still to come, which must close every open slot
    const int lowest = open == 1 && after > 0 ? 1 : 0, highest = std::min(most, after - open + 1);
    int k = 0;
    if (shape == "chain") {
      k = lowest;
    } else if (random() % 2 != 0 || lowest > 0) {
      k = 1 + static_cast<int>(random() % std::max(highest, 1));
    }
    k = std::clamp(k, lowest, highest);
    in += std::to_string(k) + (k > 0 ? "\n1\n" : "\n");
    open += k - 1;
  }
  return in;
}

}  // namespace cases
