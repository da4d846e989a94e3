// The solver against a search of every valid schedule, on every tree of up to
// 9 nodes and on random ones of up to 30, and against a search over every
// order of each node's children on random trees of up to 300 nodes and on
// brannik-gen's shapes; each answer it writes replayed and accepted.
#include "solve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <functional>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "cases.h"
#include "regs.h"
#include "replay.h"
#include "support.h"
#include "task_gen.h"

namespace {

constexpr int Impossible = 1 << 20;

// A tree by its nodes' child counts in pre-order, as "REGS.IN" lists them.
struct Tree {
  std::vector<int> k;
  std::vector<std::vector<int>> children;
  explicit Tree(std::vector<int> counts) : k(std::move(counts)), children(k.size()) {
    std::vector<int> open;  // nodes still owed children
    for (int v = 0; v < static_cast<int>(k.size()); ++v) {
      if (!open.empty()) {
        children[open.back()].push_back(v);
        if (static_cast<int>(children[open.back()].size()) == k[open.back()]) open.pop_back();
      }
      if (k[v] > 0) open.push_back(v);
    }
  }
};

// The fewest stores of any valid schedule, by trying them all: every order of
// the steps, one subtree's interleaved with another's, each result held or
// stored. Leaves are loaded at their parent's step, so the search runs over the
// inner nodes: a state is the set of those evaluated and, of the results not
// yet taken by their parent, those stored; the others are held, a register
// each. A step takes an unevaluated node whose inner children are all
// evaluated, needs a register for each held result and each load, and holds or
// stores its result. Its states grow too many for bushy trees beyond 30 nodes.
class StateSearch {
 public:
  StateSearch(const Tree& t, int registers) : registers(registers) {
    std::vector<int> inner(t.k.size(), -1);  // a node's bit
    for (int v = 0; v < static_cast<int>(t.k.size()); ++v) {
      if (t.k[v] == 0) continue;
      inner[v] = static_cast<int>(leaves.size());
      leaves.push_back(0);
      inner_children.push_back(0);
    }
    for (int v = 0; v < static_cast<int>(t.k.size()); ++v)
      for (int c : t.children[v])
        if (t.k[c] == 0)
          ++leaves[inner[v]];
        else
          inner_children[inner[v]] |= 1u << inner[c];
  }
  int fewest() { return best(0, 0); }

 private:
  int best(std::uint32_t evaluated, std::uint32_t stored) {
    if (evaluated & 1u) return 0;  // the root, always last, and held
    const std::uint64_t key = std::uint64_t{evaluated} << 32 | stored;
    if (const auto it = memo.find(key); it != memo.end()) return it->second;
    std::uint32_t taken = 0;
    for (std::size_t v = 0; v < leaves.size(); ++v)
      if (evaluated >> v & 1u) taken |= inner_children[v];
    const std::uint32_t held = evaluated & ~taken & ~stored;
    int least = Impossible;
    for (std::size_t v = 1; v <= leaves.size(); ++v) {
      const std::size_t u = v % leaves.size();  // the root, bit 0, is tried last
      const std::uint32_t children = inner_children[u], bit = 1u << u;
      if (evaluated & bit || (children & ~evaluated) != 0) continue;
      if (std::popcount(held) + leaves[u] + std::popcount(stored & children) > registers) continue;
      least = std::min(least, best(evaluated | bit, stored & ~children));
      if (u != 0) least = std::min(least, 1 + best(evaluated | bit, (stored & ~children) | bit));
    }
    return memo[key] = least;
  }
  int registers;
  std::vector<int> leaves;                    // by bit: leaf children
  std::vector<std::uint32_t> inner_children;  // by bit: its inner children's bits
  std::unordered_map<std::uint64_t, int> memo;
};

// The fewest stores of the schedules that finish a child's subtree before the
// next child's begins, bottom-up by a second route: for each node and count r
// of free registers, the least over every order of its inner children and
// every choice of those stored, a child evaluated while the held ones before
// it occupy a register each (dp over the set of children done and how many
// of them are held).
int fewest_stores_in_turn(const Tree& t, int registers) {
  const int n = static_cast<int>(t.k.size());
  std::vector<std::vector<int>> least(n, std::vector<int>(registers + 1, Impossible));
  for (int v = n - 1; v >= 0; --v) {
    std::vector<int> inner;
    for (int c : t.children[v])
      if (t.k[c] != 0) inner.push_back(c);
    const int m = static_cast<int>(inner.size());
    for (int r = t.k[v]; t.k[v] != 0 && r <= registers; ++r) {
      std::array<int, regs::MaxChildren + 1> none;
      none.fill(Impossible);
      std::vector<std::array<int, regs::MaxChildren + 1>> done(1 << m, none);
      done[0][0] = 0;
      for (int set = 0; set < 1 << m; ++set)
        for (int held = 0; held <= m; ++held) {
          if (done[set][held] == Impossible) continue;
          for (int i = 0; i < m; ++i) {
            const int c = inner[i], next = set | 1 << i;
            if (set >> i & 1 || least[c][r - held] == Impossible) continue;
            const int stores = done[set][held] + least[c][r - held];
            done[next][held + 1] = std::min(done[next][held + 1], stores);
            done[next][held] = std::min(done[next][held], stores + 1);
          }
        }
      least[v][r] = *std::min_element(done.back().begin(), done.back().end());
    }
  }
  return least[0][registers];
}

// The search over every schedule up to 30 nodes, the search in turn beyond.
int fewest_stores(const Tree& t, int registers) {
  return t.k.size() <= 30 ? StateSearch(t, registers).fewest() : fewest_stores_in_turn(t, registers);
}

// Solves the tree with the library and replays the answer: the claimed total
// when it is accepted, or the message.
std::string solve_and_replay(const std::string& task, long long& claimed) {
  char err[regs::ErrSize] = "";
  support::Stream in(task);
  if (!regs::read_task(in.file, err)) return std::string("task rejected: ") + err;
  std::string answer;
  regs::solve(answer, err);
  support::Stream out(answer);
  long long replayed = 0;
  const int accepted = regs::replay_answer(out.file, err, claimed, replayed);
  regs::delete_data();
  if (answer.empty()) return "no answer";
  return accepted ? "" : err;
}

// Checks one tree with random costs up to `largest`: the solver's answer is
// accepted, and its total is the least that the search allows.
void expect_least(const Tree& t, int registers, std::mt19937& random, int largest) {
  std::uniform_int_distribution<int> cost(-largest / 4, largest), move(1, largest);
  const int c_l = move(random), c_s = move(random);
  std::string task =
      std::to_string(registers) + "\n" + std::to_string(c_l) + " " + std::to_string(c_s) + "\n";
  long long fixed = 0;
  std::string shape;
  for (int k : t.k) {
    task += std::to_string(k) + "\n";
    shape += std::to_string(k);
    if (k == 0) {
      fixed += c_l;
    } else {
      const int c = cost(random);
      task += std::to_string(c) + "\n";
      fixed += c;
    }
  }
  const int stores = fewest_stores(t, registers);
  long long claimed = 0;
  const std::string message = solve_and_replay(task, claimed);
  if (stores == Impossible) {
    EXPECT_EQ(message, "no answer") << shape << " N=" << registers;
    return;
  }
  ASSERT_EQ(message, "") << shape << " N=" << registers;
  EXPECT_EQ(claimed, fixed + stores * (static_cast<long long>(c_l) + c_s)) << shape << " N=" << registers;
}

// A random tree of `size` nodes, at most `degree` children a node: the root's
// children share the other nodes by random cuts, and so on down, so that
// siblings' subtrees come in every proportion, from chains to bushes.
void grow(std::mt19937& random, int size, int degree, std::vector<int>& counts) {
  if (size == 1) {
    counts.push_back(0);
    return;
  }
  const int k = std::uniform_int_distribution<int>(1, std::min(degree, size - 1))(random);
  counts.push_back(k);
  std::vector<int> cuts(size - 2);
  std::iota(cuts.begin(), cuts.end(), 1);
  std::shuffle(cuts.begin(), cuts.end(), random);
  cuts.resize(k - 1);
  cuts.push_back(0);
  cuts.push_back(size - 1);
  std::sort(cuts.begin(), cuts.end());
  for (int i = 0; i < k; ++i) grow(random, cuts[i + 1] - cuts[i], degree, counts);
}

// The child counts of a test that brannik-gen writes.
std::vector<int> counts_of(const std::string& test) {
  std::istringstream in(test);
  long long registers = 0, c_l = 0, c_s = 0, cost = 0;
  in >> registers >> c_l >> c_s;
  std::vector<int> counts;
  for (int k = 0; in >> k;) {
    counts.push_back(k);
    if (k > 0) in >> cost;
  }
  return counts;
}

// Every pre-order list of child counts, each at most `most`, of up to `size` nodes.
void each_tree(std::vector<int>& counts, int open, int size, int most,
               const std::function<void(const Tree&)>& f) {
  if (open == 0) {
    f(Tree(counts));
    return;
  }
  const int left = size - static_cast<int>(counts.size());  // nodes that may still come
  for (int k = 0; k <= most && open - 1 + k <= left - 1; ++k) {
    counts.push_back(k);
    each_tree(counts, open - 1 + k, size, most, f);
    counts.pop_back();
  }
}

TEST(Solve, NoScheduleStoresFewerOnAnySmallTreeOrRandomLargerOne) {
  std::mt19937 random(20261209);
  int trees = 0;
  for (int registers = 1; registers <= 4; ++registers) {
    std::vector<int> counts;
    each_tree(counts, 1, 9, registers, [&](const Tree& t) {
      expect_least(t, registers, random, 20);
      ++trees;
    });
  }
  for (int i = 0; i < 400; ++i) {
    const int registers = std::uniform_int_distribution<int>(1, 5)(random);
    std::vector<int> counts;
    for (int open = 1; open > 0;) {
      const int room = std::min(registers, 14 - static_cast<int>(counts.size()) - open);
      const int k = std::uniform_int_distribution<int>(0, std::max(room, 0))(random);
      counts.push_back(k);
      open += k - 1;
    }
    expect_least(Tree(counts), registers, random, INT_MAX);  // totals beyond 32 bits
    ++trees;
  }
  // Grown trees of 10 to 30 nodes, then of 100 to 300.
  for (const int size : {30, 300})
    for (int i = 0; i < 200; ++i) {
      const int registers = std::uniform_int_distribution<int>(2, size == 30 ? 5 : 8)(random);
      const int degree = std::uniform_int_distribution<int>(1, registers)(random);
      std::vector<int> counts;
      grow(random, std::uniform_int_distribution<int>(size / 3, size)(random), degree, counts);
      expect_least(Tree(counts), registers, random, 1000);
      ++trees;
    }
  for (const regs::Shape shape :
       {regs::Shape::Random, regs::Shape::Chain, regs::Shape::Complete, regs::Shape::Comb, regs::Shape::Full})
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
      const int registers = std::uniform_int_distribution<int>(2, 8)(random);
      const regs::TaskPlan plan{.shape = shape,
                                .nodes = std::uniform_int_distribution<int>(2, 300)(random),
                                .registers = registers,
                                .seed = seed,
                                .degree = std::uniform_int_distribution<int>(2, registers)(random)};
      std::string test;
      char err[regs::ErrSize];
      if (!regs::generate_task(plan, test, err)) continue;  // a full tree of another size
      expect_least(Tree(counts_of(test)), registers, random, 1000);
      ++trees;
    }
  RecordProperty("trees", trees);
}

TEST(Solve, OutOfMemoryWritesNoAnswer) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers' runtime cannot start under a small address space limit";
#endif
  // Address space limits from too small to start to enough for 10000 nodes:
  // each run writes the whole answer, dies before it reads, or says it ran out
  // of memory with status 2 and nothing on standard output.
  const support::ScratchDir dir;
  support::write_file(dir.path + "/in", cases::task("random", 10000, 100));
  const std::string answer = support::run_shell(dir.path, "'" BRANNIK_SOLVE "' < in").out;
  int out_of_memory = 0;
  for (int limit = 1000; limit <= 6000; limit += 250) {
    const support::ShellRun o =
        support::run_shell(dir.path, "ulimit -v " + std::to_string(limit) + "; '" BRANNIK_SOLVE "' < in");
    if (o.status == 2 && o.out.empty() && o.err == "Error in checker: out of memory\n") {
      ++out_of_memory;
    } else if (o.status != 0 || o.out != answer) {
      EXPECT_TRUE(o.out.empty() && o.err.empty()) << limit << ": " << o.status << " " << o.err;
    }
  }
  EXPECT_GT(out_of_memory, 0);
}

}  // namespace
