// brannik-stress: the shrinking against model faults whose smallest tests are
// known, and the program's statuses on right and wrong solutions end to end.
#include "stress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <string>

#include "solve.h"
#include "support.h"
#include "task_validate.h"

namespace {

using regs::Task;

// The least total cost of the task, by the solver.
long long least_total(const Task& task) {
  const std::string text = regs::task_text(task);
  regs::LineReader lines(text);
  std::string answer;
  regs::Fault fault;
  return regs::solve_task(lines, answer, fault) ? std::stoll(answer) : -1;
}

long long fixed_cost(const Task& task) {  // every answer's cost without its stores
  long long sum = 0;
  for (std::size_t v = 0; v < task.K.size(); ++v) sum += task.K[v] > 0 ? task.cost[v] : task.C_l;
  return sum;
}

int depth(const Task& task) {  // nodes on the longest path from the root
  std::vector<int> owed, deepest{0};
  for (const int k : task.K) {
    deepest.push_back(static_cast<int>(owed.size()) + 1);
    if (!owed.empty()) --owed.back();
    if (k > 0) owed.push_back(k);
    while (!owed.empty() && owed.back() == 0) owed.pop_back();
  }
  return *std::max_element(deepest.begin(), deepest.end());
}

TEST(Shrink, KeepsTheFaultValidAndNoLargerDownToTheSmallestTest) {
  const struct {
    const char* fault;
    regs::TaskPlan plan;
    std::function<bool(const Task&)> fails;
    std::size_t smallest;      // nodes of the smallest test with the fault
    int runs_per_halving = 0;  // when set, the runs allowed for each halving of the tree's size
    bool slow = false;         // a failure that costs a time limit a run
  } table[] = {
      {"a node with three children or more",
       {.nodes = 200, .registers = 10, .seed = 3},
       [](const Task& t) { return *std::max_element(t.K.begin(), t.K.end()) >= 3; },
       4},
      {"a result stored at the least cost",
       {.shape = regs::Shape::Complete, .nodes = 300, .registers = 2, .seed = 4},
       [](const Task& t) { return least_total(t) > fixed_cost(t); },
       7},
      {"a total beyond 32 bits",
       {.nodes = 60,
        .registers = 3,
        .seed = 5,
        .cost_low = INT_MIN,
        .cost_high = INT_MAX,
        .load_high = INT_MAX,
        .store_high = INT_MAX},
       [](const Task& t) { return least_total(t) > INT_MAX; },
       2},
      {"a full ternary tree",
       {.shape = regs::Shape::Full, .nodes = 121, .registers = 3, .seed = 7},
       [](const Task& t) { return std::all_of(t.K.begin(), t.K.end(), [](int k) { return k % 3 == 0; }); },
       4},
      {"deeper than 40 levels",
       {.shape = regs::Shape::Chain, .nodes = 500, .registers = 4, .seed = 6},
       [](const Task& t) { return depth(t) > 40; },
       41},
      // Failures that need a large tree: a stack overflowed, a slow search.
      {"at least 5000 levels deep",
       {.shape = regs::Shape::Chain, .nodes = 8000, .registers = 4, .seed = 8},
       [](const Task& t) { return depth(t) >= 5000; },
       5000,
       8},
      {"a node with 8 children or more, and 40 nodes",
       {.nodes = 10000, .registers = 10, .seed = 9},
       [](const Task& t) { return t.K.size() >= 40 && *std::max_element(t.K.begin(), t.K.end()) >= 8; },
       40,
       24,
       true},
  };
  for (const auto& row : table) {
    std::string text;
    char refused[regs::ErrSize];
    ASSERT_EQ(regs::generate_task(row.plan, text, refused), 1);
    const Task before = regs::task_of(text);
    ASSERT_TRUE(row.fails(before)) << row.fault;
    long long runs = 0;
    const auto counted = [&](const Task& t) { return ++runs, row.fails(t); };
    const Task after = regs::shrink(before, counted, row.slow);
    const long long first_runs = runs;
    EXPECT_TRUE(row.fails(after)) << row.fault;
    char err[regs::ErrSize];
    EXPECT_TRUE(regs::validate_task(support::Stream(regs::task_text(after)).file, err)) << row.fault << err;
    EXPECT_EQ(after.K.size(), row.smallest) << row.fault;
    EXPECT_LE(after.N, before.N);
    EXPECT_LE(after.C_l, before.C_l);
    EXPECT_LE(after.C_s, before.C_s);
    EXPECT_EQ(regs::shrink(before, counted, row.slow), after) << row.fault << ": not the same again";
    EXPECT_EQ(runs, 2 * first_runs) << row.fault;
    if (row.runs_per_halving) {
      EXPECT_LE(first_runs, row.runs_per_halving * std::log2(before.K.size())) << row.fault;
    }
  }
  // The halving search stops exactly where the fault does.
  std::string text;
  char refused[regs::ErrSize];
  regs::generate_task(table[2].plan, text, refused);
  const Task at_limit = regs::shrink(regs::task_of(text), table[2].fails);
  EXPECT_EQ(least_total(at_limit), INT_MAX + 1LL);
}

TEST(BrannikStress, ExitsZeroOneOrTwoAndWritesTheSmallestTest) {
  const std::string solve = "'" BRANNIK_SOLVE "'";
  // Wrong solutions as scripts over the solver: a claim one too high; every
  // result stored but the root's (valid, and dearer wherever holding one
  // saves a store); a crash.
  const std::string claim_more = solve + " | awk 'NR == 1 { $1++ } 1'\n";
  const std::string store_all =
      "in=$(cat)\nset -- $(printf '%s\\n' \"$in\" | sed -n 2p)\nprintf '%s\\n' \"$in\" | " + solve +
      " | awk -v extra=$(($1 + $2)) 'NR == 1 { t = $1; next } { s[++n] = $1; k[n] = $2 }\n"
      "END { for (i = 1; i < n; i++) if (k[i]) { k[i] = 0; t += extra }\n"
      "print t; for (i = 1; i <= n; i++) print s[i], k[i] }'\n";
  const struct {
    std::string call, script;  // the script in solution.sh
    int status;
    std::string out;        // the start of standard output
    std::size_t nodes = 0;  // of the test written, when one is
  } table[] = {
      {"--budget=1 --max-nodes=30 -- " + solve, "", 0, "no failure in "},
      {"-- sh solution.sh", claim_more, 1, "failing test 1 after ", 2},
      {"-o t.in -- sh solution.sh", store_all, 1, "failing test ", 3},
      {"-- sh solution.sh", "kill -SEGV $$\n", 1, "failing test 1 after", 2},
      {"--time-limit=0.2 -- sleep 5", "", 1, "failing test 1 after", 2},
      {"-- yes", "", 1, "failing test 1 after", 2},
      {"--memory=32 -- sh solution.sh", "x=$(head -c 100000000 /dev/zero | tr '\\0' x)\n", 1,
       "failing test 1 after", 2},
      {"--budget=1", "", 2, ""},
      {"--seed=-1 -- " + solve, "", 2, ""},
      {"-- /no/such/solution", "", 2, ""},
      {"-o no/such/folder/t.in -- true", "", 2, "failing test 1 after"},
      {"-- true >&-", "", 2, ""},  // its account would reach nobody
  };
  for (const auto& row : table) {
    const support::ScratchDir dir;
    support::write_file(dir.path + "/solution.sh", row.script);
    const support::ShellRun o = support::run_shell(dir.path, "'" BRANNIK_STRESS "' " + row.call);
    EXPECT_EQ(o.status, row.status) << row.call << "\n" << o.out << o.err;
    EXPECT_EQ(o.out.substr(0, row.out.size()), row.out) << row.call;
    EXPECT_EQ(o.err.empty(), row.status != 2) << row.call << o.err;
    if (row.nodes == 0) continue;
    const std::string written =
        support::read_file(dir.path + (row.call.starts_with("-o ") ? "/t.in" : "/stress.in"));
    EXPECT_EQ(regs::task_of(written).K.size(), row.nodes) << row.call;
    char err[regs::ErrSize];
    EXPECT_TRUE(regs::validate_task(support::Stream(written).file, err)) << err;
    EXPECT_NE(o.out.find("\nshrunk from "), std::string::npos) << o.out;
  }
}

}  // namespace
