// The score of a valid answer dearer than the least, over random trees and the
// answers at hand: 1 at the least, falling with each store more, 0 when every
// result is stored, and the same on every system that takes it.
#include "score.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "regs.h"
#include "solve.h"
#include "support.h"
#include "task_gen.h"

namespace {

// The least answer with its first k held results (the root's aside) stored
// instead: still valid, as a stored result frees its register until its
// parent loads it, and k (C_l + C_s) dearer.
std::string with_stores_more(const std::string& least, int k, long long load_and_store, int& made) {
  std::istringstream in(least);
  long long total = 0;
  in >> total;
  std::vector<std::pair<int, int>> steps;
  for (int node, keep; in >> node >> keep;) steps.emplace_back(node, keep);
  made = 0;
  for (std::size_t i = 0; i + 1 < steps.size() && made < k; ++i)
    if (steps[i].second == 1) steps[i].second = 0, ++made;
  std::string text = std::to_string(total + made * load_and_store) + "\n";
  for (const auto& [node, keep] : steps) text += std::to_string(node) + " " + std::to_string(keep) + "\n";
  return text;
}

// The score each system gives the answer "out" against the jury's "ans".
struct Scores {
  std::string library, testlib, kattis, cms;
};

Scores scores(const support::ScratchDir& dir, const regs::ScoreForm& form) {
  Scores s;
  const regs::Judgement j =
      regs::judge((dir.path + "/in").c_str(), (dir.path + "/out").c_str(), (dir.path + "/ans").c_str());
  s.library = regs::score_of(j, form).text;
  // testlib: "ok" for the least, else "points <score> <message>".
  const auto testlib = support::run_shell(dir.path, "'" BRANNIK_TESTLIB "' --score power in out ans");
  s.testlib = testlib.status == 0 ? "1.0" : testlib.err.substr(7, testlib.err.find(' ', 7) - 7);
  support::run_shell(dir.path, "rm -rf fb && mkdir fb && '" BRANNIK_KATTIS "' in ans fb --score power < out");
  s.kattis = support::read_file(dir.path + "/fb/score.txt");
  s.cms = support::run_shell(dir.path, "'" CMS_POWER "' in ans out").out;
  s.kattis.pop_back();
  s.cms.pop_back();
  return s;
}

TEST(Score, FallsWithEachStoreMoreAndIsTheSameOnEverySystem) {
  const regs::ScoreForm power{regs::ScoreForm::Power, 2, 0};
  int trees = 0;
  for (std::uint32_t seed = 1; trees < 2; ++seed) {
    char err[regs::ErrSize];
    std::string test, least;
    const regs::TaskPlan plan{.nodes = 30, .registers = 2, .seed = seed, .degree = 2};
    ASSERT_TRUE(regs::generate_task(plan, test, err)) << err;
    regs::LineReader task(test);
    regs::Fault fault;
    ASSERT_TRUE(regs::solve_task(task, least, fault));

    const support::ScratchDir dir;
    support::write_file(dir.path + "/in", test);
    support::write_file(dir.path + "/ans", least);
    std::istringstream parameters(test);
    long long registers = 0, load = 0, store = 0;
    parameters >> registers >> load >> store;
    double before = 2;
    int most = 0;
    for (int k = 0;; ++k) {
      int made = 0;
      support::write_file(dir.path + "/out", with_stores_more(least, k, load + store, made));
      if (made < k) break;  // no held result left: k - 1 more stored every result
      most = k;
      const Scores s = scores(dir, power);
      EXPECT_EQ(s.testlib, s.library) << test << k;
      EXPECT_EQ(s.kattis, s.library) << test << k;
      EXPECT_EQ(s.cms, s.library) << test << k;
      const double value = std::stod(s.library);
      if (k == 0) {
        EXPECT_EQ(s.library, "1.0");
      }
      EXPECT_LT(value, before) << "a store more, a score no lower: " << k;
      before = value;
    }
    EXPECT_EQ(before, most > 0 ? 0 : 1) << "storing every result scores 0, unless it is the least";
    trees += most >= 4;
  }
}

}  // namespace
