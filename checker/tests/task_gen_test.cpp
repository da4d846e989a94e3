// The test generator: every test it makes over shapes, sizes, register counts
// and seeds is canonical, has the planned shape and can be answered, and the
// random shape varies from seed to seed.
#include "task_gen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "regs.h"
#include "replay.h"
#include "solve.h"
#include "support.h"
#include "task_validate.h"

namespace {

using regs::Shape;
using regs::TaskPlan;

// The tree of a test as the reader builds it, released at the end of the scope.
struct ReadTree {
  explicit ReadTree(const std::string& test) {
    char err[regs::ErrSize];
    read = regs::read_task(support::Stream(test).file, err);
    if (!read) message = err;
  }
  ~ReadTree() {
    if (read) regs::delete_data();
  }
  int read;
  std::string message;
};

// Each check returns what is wrong with a test of the plan, or "".
std::string canonical(const std::string& test, const TaskPlan&) {
  char err[regs::ErrSize];
  return regs::validate_task(support::Stream(test).file, err) ? "" : err;
}

std::string shaped_as_planned(const std::string& test, const TaskPlan& plan) {
  const ReadTree tree(test);
  if (!tree.read) return tree.message;
  const int k = static_cast<int>(plan.degree.value_or(std::min(10LL, plan.registers)));
  if (regs::M != plan.nodes || regs::N != plan.registers || regs::root->K == 0)
    return "wrong size or a leaf root";
  if (regs::C_l < plan.load_low || regs::C_l > plan.load_high || regs::C_s < plan.store_low ||
      regs::C_s > plan.store_high)
    return "C_l or C_s out of the plan's range";
  // Complete trees, numbered breadth first, give each node its heap share of children.
  std::vector<const regs::Node*> breadth{regs::root};
  for (std::size_t i = 0; i < breadth.size(); ++i) {
    const regs::Node& node = *breadth[i];
    const long long heap_share = std::clamp(plan.nodes - 1 - k * static_cast<long long>(i), 0LL, 0LL + k);
    const int inner_children = static_cast<int>(
        std::count_if(node.children, node.children + node.K, [](const regs::Node* c) { return c->K > 0; }));
    if (node.K > 0 && (node.cost < plan.cost_low || node.cost > plan.cost_high)) return "cost out of range";
    const bool fits = plan.shape == Shape::Random  ? node.K <= k
                      : plan.shape == Shape::Chain ? node.K == 1 || (node.K == 0 && i + 1 == breadth.size())
                      : plan.shape == Shape::Complete ? node.K == heap_share
                      : plan.shape == Shape::Full     ? node.K == 0 || node.K == k
                      : inner_children == 1           ? node.K == k
                                                      : inner_children == 0;
    if (!fits) return "node " + std::to_string(node.number) + " is out of shape";
    breadth.insert(breadth.end(), node.children, node.children + node.K);
  }
  return "";
}

// The solver's answer to the test, replayed on its tree, is accepted.
std::string solver_answer_accepted(const std::string& test, const TaskPlan&) {
  const ReadTree tree(test);
  if (!tree.read) return tree.message;
  char err[regs::ErrSize];
  long long claimed = 0, replayed = 0;
  std::string answer;
  if (!regs::solve(answer, err)) return err;
  return regs::replay_answer(support::Stream(answer).file, err, claimed, replayed) ? "" : err;
}

using Check = std::string (*)(const std::string& test, const TaskPlan& plan);
const Check Checks[] = {canonical, shaped_as_planned, solver_answer_accepted};

TEST(GenerateTask, EveryTestIsCanonicalShapedAsPlannedAndAnswerable) {
  int made = 0;
  for (const Shape shape : {Shape::Random, Shape::Chain, Shape::Complete, Shape::Comb, Shape::Full})
    for (const long long nodes : {2, 3, 11, 100, 1001, 10000})
      for (const long long registers : {1, 2, 3, 10, 100})
        for (const std::uint32_t seed : {0u, 1u, 4294967295u}) {
          TaskPlan plan{.shape = shape, .nodes = nodes, .registers = registers, .seed = seed};
          if (seed == 1) plan.cost_low = INT_MIN, plan.cost_high = INT_MAX, plan.load_high = INT_MAX;
          if (seed == 1) plan.store_low = plan.store_high = INT_MAX;  // totals beyond 32 bits
          std::string test;
          char err[regs::ErrSize];
          if (!regs::generate_task(plan, test, err)) continue;
          ++made;
          for (const Check check : Checks) EXPECT_EQ(check(test, plan), "") << test.substr(0, 200);
        }
  // No comb for N = 1 (6 sizes), no full tree whose nodes - 1 the degree does not divide (15).
  EXPECT_EQ(made, 450 - 3 * (6 + 15));
}

// Deep and shallow trees, narrow and bushy ones, from the seeds of one call.
TEST(GenerateTask, RandomTreesSpreadInDepthAndDegree) {
  int shallowest = INT_MAX, deepest = 0, full_nodes = 0, single_children = 0;
  std::vector<std::string> tests;
  for (std::uint32_t seed = 0; seed < 40; ++seed) {
    std::string test;
    char err[regs::ErrSize];
    ASSERT_EQ(regs::generate_task({.nodes = 1000, .registers = 10, .seed = seed}, test, err), 1);
    tests.push_back(test);
    const ReadTree tree(test);
    std::vector<int> depth(regs::M + 1, 0);  // pre-order: every parent before its children
    for (int v = 1; v <= regs::M; ++v) {
      const regs::Node& node = *regs::node_map[v];
      for (int i = 0; i < node.K; ++i) depth[node.children[i]->number] = depth[v] + 1;
      full_nodes += node.K == 10, single_children += node.K == 1;
    }
    const int height = *std::max_element(depth.begin(), depth.end());
    shallowest = std::min(shallowest, height), deepest = std::max(deepest, height);
  }
  EXPECT_LT(shallowest, 10);
  EXPECT_GT(deepest, 500);
  EXPECT_GT(full_nodes, 100);
  EXPECT_GT(single_children, 1000);
  std::sort(tests.begin(), tests.end());
  EXPECT_EQ(std::unique(tests.begin(), tests.end()), tests.end()) << "two seeds gave the same test";
}

TEST(GenerateTask, RefusesAPlanWithoutATest) {
  const struct {
    TaskPlan plan;
    const char* reason;
  } table[] = {
      {{.nodes = 10001}, "nodes out of range: 2 to 10000"},
      {{.registers = 101}, "N out of range: 1 to 100"},
      {{.registers = 3, .degree = 4}, "degree out of range: 1 to min(10, N)"},
      {{.degree = 0}, "degree out of range: 1 to min(10, N)"},
      {{.cost_low = 2, .cost_high = 1}, "costs must be LO,HI with -2147483648 <= LO <= HI <= 2147483647"},
      {{.load_low = 0, .load_high = 1}, "load must be LO,HI with 1 <= LO <= HI <= 2147483647"},
      {{.store_high = INT_MAX + 1LL}, "store must be LO,HI with 1 <= LO <= HI <= 2147483647"},
      {{.shape = Shape::Comb, .nodes = 10, .registers = 5, .degree = 1},
       "a comb needs a degree of at least 2"},
      {{.shape = Shape::Full, .nodes = 10, .registers = 2}, "a full tree has 1 + a multiple of degree nodes"},
  };
  for (const auto& row : table) {
    std::string test = "kept";
    char reason[regs::ErrSize];
    EXPECT_EQ(regs::generate_task(row.plan, test, reason), 0);
    EXPECT_STREQ(reason, row.reason);
    EXPECT_EQ(test, "kept");
  }
}

}  // namespace
