// The coverage plan of the register task: a test's measures, and the plan's rows.
#include "coverage.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>

namespace regs {

namespace {

void add(Reach& reach, Measure m, long long value) { reach[m].push_back(value); }

// Each measure's values sorted, each once: a test's 10000 costs shrink to the
// few that differ.
void settle(Reach& reach) {
  for (std::vector<long long>& values : reach.values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
  }
}

}  // namespace

void measure_task(Reach& reach) {
  add(reach, Measure::N, N);
  add(reach, Measure::C_l, C_l);
  add(reach, Measure::C_s, C_s);
  add(reach, Measure::Price, static_cast<long long>(C_l) + C_s);
  add(reach, Measure::Nodes, M);

  // Pre-order: a parent's number is below its children's, so levels are
  // known going up the numbers and needs going down.
  std::vector<int> level(M + 1, 1), need(M + 1, 0);
  int levels = 0;
  for (int number = 1; number <= M; ++number) {
    const Node* v = node_map[number];
    levels = std::max(levels, level[number]);
    for (int i = 0; i < v->K; ++i) level[v->children[i]->number] = level[number] + 1;
  }
  add(reach, Measure::Levels, levels);

  long long full = 0, same_need = 0, ties = 0, traps = 0;
  for (int number = M; number >= 1; --number) {
    const Node* v = node_map[number];
    if (v->K == 0) continue;
    add(reach, Measure::Cost, v->cost);
    add(reach, Measure::Children, v->K);
    int needs[MaxChildren], n = 0;  // of the inner children, greatest first
    for (int i = 0; i < v->K; ++i) {
      if (v->children[i]->K == 0) continue;
      int j = n++;
      for (; j > 0 && needs[j - 1] < need[v->children[i]->number]; --j) needs[j] = needs[j - 1];
      needs[j] = need[v->children[i]->number];
    }
    int best = v->K, worst = v->K;
    for (int j = 0; j < n; ++j) {
      best = std::max(best, needs[j] + j);
      worst = std::max(worst, needs[n - 1 - j] + j);
    }
    need[number] = best;
    full += v->K == N;
    same_need += v->K >= 2 && n == v->K && needs[0] == needs[n - 1];
    ties += std::adjacent_find(needs, needs + n) != needs + n;
    traps += best <= N && worst > N;
  }
  add(reach, Measure::Full, full);
  add(reach, Measure::SameNeed, same_need);
  add(reach, Measure::Tie, ties);
  add(reach, Measure::Trap, traps);
  settle(reach);
}

void measure_answer(const Trace& trace, long long total, Reach& reach) {
  long long stores = 0;
  int peak = 0;
  for (const Step& step : trace.steps) {
    if (step.node == 0) continue;  // line 1, the claimed total
    stores += step.keep == 0;
    peak = std::max(peak, step.in_use_loaded);
  }
  add(reach, Measure::Stores, stores);
  add(reach, Measure::Total, total);
  add(reach, Measure::Peak, peak);
  add(reach, Measure::Spare, trace.task.N - peak);
  settle(reach);
}

bool reaches(const PlanRow& row, const Reach& reach) {
  return std::all_of(row.parsed.begin(), row.parsed.end(), [&](const Condition& c) {
    const std::vector<long long>& values = reach[c.measure];
    const auto first = std::lower_bound(values.begin(), values.end(), c.low);
    return first != values.end() && *first <= c.high;
  });
}

namespace {

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A whole decimal, or `none` for an empty bound.
bool bound(std::string_view text, long long none, long long& value) {
  if (text.empty()) return value = none, true;
  const auto read = std::from_chars(text.data(), text.data() + text.size(), value);
  return read.ec == std::errc() && read.ptr == text.data() + text.size();
}

// "name=value", "name=low..high", "name=low.." or "name=..high"; the fault, or null.
const char* condition(std::string_view word, Condition& c) {
  const std::size_t equals = word.find('=');
  const auto name = std::find(std::begin(MeasureNames), std::end(MeasureNames), word.substr(0, equals));
  if (equals == std::string_view::npos || name == std::end(MeasureNames)) return "no such measure";
  c.measure = static_cast<Measure>(name - std::begin(MeasureNames));
  const std::string_view range = word.substr(equals + 1);
  const std::size_t dots = range.find("..");
  const bool read = dots == std::string_view::npos
                        ? !range.empty() && bound(range, 0, c.low) && bound(range, 0, c.high)
                        : (dots > 0 || range.size() > 2) && bound(range.substr(0, dots), LLONG_MIN, c.low) &&
                              bound(range.substr(dots + 2), LLONG_MAX, c.high);
  if (!read || c.low > c.high) return "not a value or a range of values";
  return nullptr;
}

// One row of the plan from its line; the fault, or null.
const char* plan_row(std::string_view line, PlanRow& row) {
  const std::size_t bar = line.find('|');
  if (bar == std::string_view::npos) return "no \"|\" before what the row is there for";
  row.conditions = trimmed(line.substr(0, bar));
  std::string_view rest = line.substr(bar + 1);
  const std::size_t second = rest.find('|');
  row.purpose = trimmed(rest.substr(0, second));
  if (row.purpose.empty()) return "nothing says what the row is there for";
  if (second != std::string_view::npos) {
    constexpr std::string_view Mark = "unreachable:";
    const std::string_view why = trimmed(rest.substr(second + 1));
    if (why.substr(0, Mark.size()) != Mark) return "a third field that is not \"unreachable: <reason>\"";
    row.unreachable = trimmed(why.substr(Mark.size()));
    if (row.unreachable.empty()) return "an unreachable row without its reason";
  }
  std::string_view words = row.conditions;
  while (!(words = trimmed(words)).empty()) {
    const std::size_t end = std::min(words.find_first_of(" \t"), words.size());
    Condition c;
    if (const char* fault = condition(words.substr(0, end), c)) return fault;
    row.parsed.push_back(c);
    words.remove_prefix(end);
  }
  return row.parsed.empty() ? "no condition" : nullptr;
}

}  // namespace

int read_plan(std::string_view text, std::vector<PlanRow>& plan, char* err) {
  std::vector<PlanRow> rows;
  for (int number = 1; !text.empty(); ++number) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line[0] == '#') continue;
    PlanRow row;
    row.line = number;
    if (const char* fault = plan_row(line, row))
      return refuse(err, "line %d: %s: %.*s", number, fault, static_cast<int>(line.size()), line.data());
    rows.push_back(std::move(row));
  }
  if (rows.empty()) return refuse(err, "the plan has no row");
  plan = std::move(rows);
  return 1;
}

}  // namespace regs
