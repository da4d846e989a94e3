// The register package's report: the runs judged, and the limits the tests reach.
#include "report.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "judge.h"
#include "regs.h"

namespace regs {

namespace {

// A judgement's line without its line break.
std::string text_of(const Line& line) {
  std::string text = line.text;
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// The figures of the task that read_task left in memory.
void task_facts(TestFacts& t) {
  t.N = N;
  t.C_l = C_l;
  t.C_s = C_s;
  t.nodes = M;
  t.lowest_cost = INT_MAX;
  t.highest_cost = INT_MIN;
  std::vector<int> level(M + 1, 1);  // pre-order: a node's level is known before its children's
  for (int number = 1; number <= M; ++number) {
    const Node* v = node_map[number];
    t.levels = std::max(t.levels, level[number]);
    if (v->K == 0) {
      t.base += C_l;
      continue;
    }
    t.base += v->cost;
    t.lowest_cost = std::min(t.lowest_cost, v->cost);
    t.highest_cost = std::max(t.highest_cost, v->cost);
    t.widest = std::max(t.widest, v->K);
    t.k_is_n = t.k_is_n || v->K == N;
    for (int i = 0; i < v->K; ++i) level[v->children[i]->number] = level[number] + 1;
  }
}

struct Limit {
  const char* name;
  bool (*reached)(const TestFacts&);
};

constexpr Limit Limits[] = {
    {"N = 1", [](const TestFacts& t) { return t.N == 1; }},
    {"N = 100", [](const TestFacts& t) { return t.N == MaxRegisters; }},
    {"K = 10", [](const TestFacts& t) { return t.widest == MaxChildren; }},
    {"K = N", [](const TestFacts& t) { return t.k_is_n; }},
    {"10000 nodes", [](const TestFacts& t) { return t.nodes == MaxNodes; }},
    {"10000 levels", [](const TestFacts& t) { return t.levels == MaxNodes; }},
    {"a cost of -2147483648", [](const TestFacts& t) { return t.lowest_cost == INT_MIN; }},
    {"a cost of 2147483647", [](const TestFacts& t) { return t.highest_cost == INT_MAX; }},
    {"C_l and C_s at 2147483647", [](const TestFacts& t) { return t.C_l == INT_MAX && t.C_s == INT_MAX; }},
    {"a least total beyond 32 bits",
     [](const TestFacts& t) { return t.least < INT_MIN || t.least > INT_MAX; }},
    {"no store needed", [](const TestFacts& t) { return t.stores_of(t.least) == 0; }},
    {"at least 100 stores needed", [](const TestFacts& t) { return t.stores_of(t.least) >= 100; }},
};

}  // namespace

std::string read_test(const std::string& in, const std::string& ans, TestFacts& facts) {
  char err[ErrSize] = "";
  std::FILE* file = std::fopen(in.c_str(), "r");
  if (!file) return "Error in input file: failed opening file";
  const int read = read_task(file, err);
  std::fclose(file);
  if (!read) return std::string("Error in input file: ") + err;
  task_facts(facts);
  delete_data();

  const Judgement jury = judge(in.c_str(), ans.c_str());
  if (jury.verdict == Verdict::Rejected) return "Error in jury's answer: " + text_of(answer_line(jury));
  if (jury.verdict != Verdict::Accepted) return text_of(verdict_line(jury));
  facts.least = jury.total;
  return "";
}

const char* outcome_name(Outcome outcome) {
  constexpr const char* Names[] = {"AC", "WA", "TLE", "RTE", "JE"};
  return Names[static_cast<int>(outcome)];
}

std::optional<Outcome> expected_of(const std::string& folder) {
  if (folder == "accepted") return Outcome::AC;
  if (folder == "wrong_answer") return Outcome::WA;
  if (folder == "time_limit_exceeded") return Outcome::TLE;
  if (folder == "run_time_error") return Outcome::RTE;
  return std::nullopt;
}

Run judge_output(const TestFacts& test, const std::string& in, const std::string& ans,
                 const std::string& out) {
  Run run;
  run.test = test.name;
  run.least = test.stores_of(test.least);
  const Judgement j = judge(in.c_str(), out.c_str(), ans.c_str());
  if (j.verdict == Verdict::Rejected) {
    run.outcome = Outcome::WA;
    run.message = text_of(answer_line(j));
  } else if (j.verdict != Verdict::Accepted) {
    run.outcome = Outcome::JE;
    run.message = text_of(verdict_line(j));
  }
  // Replayed alone, a valid schedule is accepted, or only its claim is wrong.
  const Judgement alone = judge(in.c_str(), out.c_str());
  if (alone.verdict == Verdict::Accepted ||
      (alone.verdict == Verdict::Rejected && alone.fault.kind == FaultKind::IncorrectTotal))
    run.stores = test.stores_of(alone.total);
  return run;
}

Outcome verdict_of(const std::vector<Run>& runs) {
  for (const Run& run : runs)
    if (run.outcome != Outcome::AC) return run.outcome;
  return Outcome::AC;
}

std::string runs_table(const std::vector<Run>& runs) {
  std::string table =
      "| submission | verdict | test | result | time (s) | stores | least |\n"
      "|---|---|---|---|---|---|---|\n";
  for (auto first = runs.begin(); first != runs.end();) {
    const auto last =
        std::find_if(first, runs.end(), [&](const Run& r) { return r.submission != first->submission; });
    const std::string& name = first->submission;
    std::string verdict = outcome_name(verdict_of({first, last}));
    const auto expected = expected_of(name.substr(0, name.find('/')));
    if (!expected || outcome_name(*expected) != verdict)
      verdict += std::string(" (its folder: ") + (expected ? outcome_name(*expected) : "none") + ")";
    for (auto run = first; run != last; ++run) {
      char time[32];
      std::snprintf(time, sizeof time, "%.2f", run->seconds);
      std::string result = outcome_name(run->outcome);
      if (!run->message.empty()) result += ": " + run->message;
      table += "| " + (run == first ? name + " | " + verdict : " | ") + " | " + run->test + " | " + result +
               " | " + time + " | " + (run->stores < 0 ? "-" : std::to_string(run->stores)) + " | " +
               std::to_string(run->least) + " |\n";
    }
    first = last;
  }
  return table;
}

std::string limits_table(const std::vector<TestFacts>& tests) {
  std::string table =
      "| limit | tests that reach it |\n"
      "|---|---|\n";
  for (const Limit& limit : Limits) {
    std::string names;
    for (const TestFacts& t : tests)
      if (limit.reached(t)) names += (names.empty() ? "" : ", ") + t.name;
    table += std::string("| ") + limit.name + " | " + (names.empty() ? "none" : names) + " |\n";
  }
  return table;
}

}  // namespace regs
