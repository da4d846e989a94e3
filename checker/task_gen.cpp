// The generator of register tasks: the tree of a shape, then its text.
#include "task_gen.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>
#include <utility>
#include <vector>

#include "regs.h"
#include "task.h"

namespace regs {

namespace {

// The outputs of one std::mt19937 mapped to ranges by rejection, never by
// the library's distributions, whose mapping differs between libraries.
class Draw {
 public:
  explicit Draw(std::uint32_t seed) : engine(seed) {}
  // Uniform in [0, span), 1 <= span <= 2^32.
  std::uint32_t below(std::uint64_t span) {
    const std::uint64_t whole = std::uint64_t{1} << 32, limit = whole - whole % span;
    for (;;) {
      const std::uint64_t x = engine();
      if (x < limit) return static_cast<std::uint32_t>(x % span);
    }
  }
  long long between(long long low, long long high) {
    return low + below(static_cast<std::uint64_t>(high - low) + 1);
  }

 private:
  std::mt19937 engine;
};

// A tree as the parent of every node; node 0 is the root, a parent's number
// is below its children's, and siblings come in the order of their numbers.
using Parents = std::vector<int>;

// Grows a tree of n nodes from the root: each step picks a node and gives it
// `batch` new children; a node is picked until it has `most` children. The
// pick is the newest node (the tree deepens), any node (a random recursive
// tree, about log n deep), or the oldest (the tree fills level by level).
// Two numbers drawn once per test weigh them: the newest is passed over once
// in 2^deepen steps, deepen from 0 to floor(log2 n) - 1, so that a branch
// grows a good share of n levels deep for some seeds and not at all for
// others; of the other steps, fill / 4 take the oldest node and the rest any.
Parents attach(int n, int batch, int most, Draw& draw) {
  Parents parent(n, -1);
  std::vector<int> position(n, -1), members, children(n, 0);
  auto enter = [&](int v) {
    position[v] = static_cast<int>(members.size());
    members.push_back(v);
  };
  std::uint32_t log2 = 0;
  while (std::int64_t{2} << log2 <= n) ++log2;
  const std::uint32_t deepen = draw.below(log2), fill = draw.below(5);
  enter(0);
  int oldest = 0;
  for (int next = 1; next < n;) {
    while (position[oldest] < 0) ++oldest;
    int v = next - 1;
    if (deepen == 0 || draw.below(std::uint64_t{1} << deepen) == 0)
      v = draw.below(4) < fill ? oldest : members[draw.below(members.size())];
    for (int i = 0; i < batch; ++i) {
      parent[next] = v;
      enter(next++);
    }
    if ((children[v] += batch) == most) {
      members[position[v]] = members.back();
      position[members.back()] = position[v];
      members.pop_back();
      position[v] = -1;
    }
  }
  return parent;
}

// Every spine node but the last has `degree` children: the next spine node,
// at a random place among them, and leaves; the last has the leaves left.
Parents comb(int n, int degree, Draw& draw) {
  Parents parent(n, -1);
  int spine = 0, next = 1;
  while (n - next > degree) {
    const int at = next + static_cast<int>(draw.below(degree));
    for (int i = 0; i < degree; ++i) parent[next++] = spine;
    spine = at;
  }
  while (next < n) parent[next++] = spine;
  return parent;
}

// The tree in pre-order into the task, the inner nodes' costs drawn in that
// order. Siblings are shuffled when `shuffle` is set, so that the deep branch
// of an attached tree is not always the last.
void build_tree(const Parents& parent, bool shuffle, Draw& draw, long long cost_low, long long cost_high,
                Task& task) {
  const int n = static_cast<int>(parent.size());
  std::vector<int> first(n + 1, 0), kids(n - 1);
  for (int v = 1; v < n; ++v) ++first[parent[v] + 1];
  for (int v = 0; v < n; ++v) first[v + 1] += first[v];
  std::vector<int> filled(first.begin(), first.end() - 1);
  for (int v = 1; v < n; ++v) kids[filled[parent[v]]++] = v;
  if (shuffle)
    for (int v = 0; v < n; ++v)
      for (int i = first[v + 1] - first[v] - 1; i > 0; --i)
        std::swap(kids[first[v] + i], kids[first[v] + draw.below(i + 1)]);

  task.K.reserve(n);
  task.cost.reserve(n);
  std::vector<int> stack{0};
  while (!stack.empty()) {
    const int v = stack.back();
    stack.pop_back();
    const int k = first[v + 1] - first[v];
    task.K.push_back(k);
    task.cost.push_back(k == 0 ? 0 : static_cast<int>(draw.between(cost_low, cost_high)));
    for (int i = first[v + 1] - 1; i >= first[v]; --i) stack.push_back(kids[i]);
  }
}

// least <= low <= high <= INT_MAX
bool ordered_within(long long low, long long high, long long least) {
  return least <= low && low <= high && high <= INT_MAX;
}

}  // namespace

int generate_task(const TaskPlan& plan, std::string& test, char* err) {
  if (plan.nodes < 2 || plan.nodes > MaxNodes) return refuse(err, "nodes out of range: 2 to 10000");
  if (plan.registers < 1 || plan.registers > MaxRegisters) return refuse(err, "N out of range: 1 to 100");
  const long long bound = std::min<long long>(MaxChildren, plan.registers);
  const long long degree = plan.degree.value_or(bound);
  if (degree < 1 || degree > bound) return refuse(err, "degree out of range: 1 to min(10, N)");
  if (!ordered_within(plan.cost_low, plan.cost_high, INT_MIN))
    return refuse(err, "costs must be LO,HI with -2147483648 <= LO <= HI <= 2147483647");
  if (!ordered_within(plan.load_low, plan.load_high, 1))
    return refuse(err, "load must be LO,HI with 1 <= LO <= HI <= 2147483647");
  if (!ordered_within(plan.store_low, plan.store_high, 1))
    return refuse(err, "store must be LO,HI with 1 <= LO <= HI <= 2147483647");
  if (plan.shape == Shape::Comb && degree < 2) return refuse(err, "a comb needs a degree of at least 2");
  if (plan.shape == Shape::Full && (plan.nodes - 1) % degree != 0)
    return refuse(err, "a full tree has 1 + a multiple of degree nodes");

  const int n = static_cast<int>(plan.nodes), k = static_cast<int>(degree);
  Draw draw(plan.seed);
  const long long load = draw.between(plan.load_low, plan.load_high);
  const long long store = draw.between(plan.store_low, plan.store_high);
  Parents parent(n);
  switch (plan.shape) {
    case Shape::Random:
      parent = attach(n, 1, k, draw);
      break;
    case Shape::Full:
      parent = attach(n, k, k, draw);
      break;
    case Shape::Comb:
      parent = comb(n, k, draw);
      break;
    case Shape::Chain:
    case Shape::Complete:
      for (int v = 1; v < n; ++v) parent[v] = plan.shape == Shape::Chain ? v - 1 : (v - 1) / k;
  }

  Task task{static_cast<int>(plan.registers), static_cast<int>(load), static_cast<int>(store), {}, {}};
  build_tree(parent, plan.shape == Shape::Random || plan.shape == Shape::Full, draw, plan.cost_low,
             plan.cost_high, task);
  test = task_text(task);
  return 1;
}

}  // namespace regs
