// The generator of register tasks: one test in the canonical form of
// "REGS.IN", the same bytes from the same plan on every platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace regs {

enum class Shape {
  Random,    // random attachment, at most `degree` children a node
  Chain,     // every inner node has one child: nodes - 1 levels
  Complete,  // heap-shaped: node i (breadth first from 0) has children degree*i + 1 ...
  Comb,      // a spine whose every node has one spine child and degree - 1 leaves
  Full,      // random, and every inner node has exactly `degree` children
};

// The shapes' names on brannik-gen's command line, in the order of Shape.
inline constexpr const char* ShapeNames[] = {"random", "chain", "complete", "comb", "full"};

// What a test is made of. Numbers are wide so that any value a caller writes
// reaches the range checks of generate_task.
struct TaskPlan {
  Shape shape = Shape::Random;
  long long nodes = 2;      // exact node count, 2 to MaxNodes
  long long registers = 1;  // N, 1 to MaxRegisters
  std::uint32_t seed = 0;
  std::optional<long long> degree = std::nullopt;  // 1 to min(MaxChildren, N); none: that bound
  long long cost_low = 1, cost_high = 100;         // inner nodes' costs, within 32 bits
  long long load_low = 1, load_high = 10;          // C_l, 1 to INT_MAX
  long long store_low = 1, store_high = 10;        // C_s, 1 to INT_MAX
};

// Writes the test of the plan into `test` (replacing what it held) and returns
// 1; or returns 0 with why the plan has no test in err (of size ErrSize), test
// untouched. The root is never
// a leaf, and every inner node has at most `degree` children, so storing every
// result but the root's is a schedule within N registers.
//
// Randomness: one std::mt19937 seeded with `seed`, whose outputs the standard
// fixes; a value in [0, span) is an output x < 2^32 - 2^32 mod span, taken
// mod span, and outputs above that bound are drawn again, so every value is
// equally likely. The draws, in order: C_l, C_s, the shape, then the costs of
// the inner nodes in the order they are written.
int generate_task(const TaskPlan& plan, std::string& test, char* err);

}  // namespace regs
