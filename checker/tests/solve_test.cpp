// The solver against a search of every valid schedule, on every small tree
// and on random larger ones; each answer it writes replayed and accepted.
#include "solve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "brannik_support.h"
#include "cases.h"
#include "regs.h"

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

// The fewest stores of any valid schedule, by trying them all. A state is the
// set of evaluated inner nodes and, of the results not yet taken by their
// parent, those stored (S) and those held (H), a register each. A step takes
// an unevaluated node whose inner children are all evaluated, needs a
// register for each held child and each load, and holds or stores its result.
int fewest_stores(const Tree& t, int registers) {
  const int n = static_cast<int>(t.k.size());
  std::vector<std::uint32_t> child_mask(n, 0);
  for (int v = 0; v < n; ++v)
    for (int c : t.children[v]) child_mask[v] |= 1u << c;
  std::unordered_map<std::uint64_t, int> memo;
  std::function<int(std::uint32_t, std::uint32_t, std::uint32_t)> best =
      [&](std::uint32_t evaluated, std::uint32_t held, std::uint32_t stored) {
        if (evaluated & 1u) return 0;  // the root, always last, and held
        const std::uint64_t key = std::uint64_t{evaluated} << 32 | stored;
        if (const auto it = memo.find(key); it != memo.end()) return it->second;
        int least = Impossible;
        for (int v = 0; v < n; ++v) {
          if (t.k[v] == 0 || evaluated >> v & 1u) continue;
          int loads = 0;
          bool ready = true;
          for (int c : t.children[v]) {
            if (t.k[c] != 0 && !(evaluated >> c & 1u)) ready = false;
            if (t.k[c] == 0 || stored >> c & 1u) ++loads;
          }
          if (!ready || std::popcount(held) + loads > registers) continue;
          const std::uint32_t h = held & ~child_mask[v], s = stored & ~child_mask[v], e = evaluated | 1u << v;
          least = std::min(least, best(e, h | 1u << v, s));
          if (v != 0) least = std::min(least, 1 + best(e, h, s | 1u << v));
        }
        return memo[key] = least;
      };
  return best(0, 0, 0);
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
    const support::Outcome o =
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
