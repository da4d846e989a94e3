// The search for a failing test of a solution, and its shrinking.
#include "stress.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <new>

#include "args.h"
#include "judge_run.h"
#include "solve.h"

namespace regs {

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

std::string failure_words(const Judgement& failure) {
  switch (failure.verdict) {
    case Verdict::Accepted:
      return "";
    case Verdict::Rejected:
      return (failure.fault.kind == FaultKind::Dearer ? "dearer: " : "rejected: ") +
             answer_line(failure).words();
    case Verdict::RunFailed:
      return failure.message;
    case Verdict::JuryFault:  // the solver's answer undercut: the solver is wrong
      return std::string("cheaper than the solver's answer: ") + failure.message;
    default:  // a task that the search should not have made
      return verdict_line(failure).words();
  }
}

bool same_way(const Judgement& a, const Judgement& b) {
  const bool figures = a.fault.kind == FaultKind::Signalled || a.fault.kind == FaultKind::ExitStatus;
  return a.verdict == b.verdict && a.fault.kind == b.fault.kind &&
         (!figures || a.fault.figures[0] == b.fault.figures[0]);
}

namespace {

using Fails = std::function<bool(const Task&)>;

enum class Edit {
  Cut,       // the node's subtree off its parent
  Leaf,      // the node's children cut: an inner node made a leaf
  Splice,    // the node replaced by its children in its parent's list
  ZeroCost,  // the node's cost set to 0
};

// Each node's depth, the root's 1.
std::vector<int> depths(const Task& task) {
  const auto children = children_of(task);
  std::vector<int> depth(task.K.size(), 1);
  for (std::size_t v = 0; v < children.size(); ++v)
    for (const int c : children[v]) depth[c] = depth[v] + 1;
  return depth;
}

// Above this many nodes, Cut and Leaf keep the last node and its ancestors:
// the prefix search found the task failing no more without the last node, so
// that cutting it again is rarely worth a run, and on a long chain every cut
// would be. Smaller tasks have every node tried, for failures that a cut
// elsewhere brings back.
constexpr int KeepLastAbove = 100;

// The nodes an edit may apply to, in pre-order; one-child nodes are left to
// merge_chains.
std::vector<int> candidates(const Task& task, Edit edit) {
  const int n = static_cast<int>(task.K.size());
  std::vector<char> kept(n, 0);
  if ((edit == Edit::Cut || edit == Edit::Leaf) && n > KeepLastAbove) {
    const auto depth = depths(task);
    for (int v = n - 1, below = n; v >= 0; --v)  // an ancestor is the nearest node above, one level up
      if (v == n - 1 || depth[v] == depth[below] - 1) kept[v] = 1, below = v;
  }
  std::vector<int> nodes;
  for (int v = 0; v < n; ++v)
    if (edit == Edit::Cut      ? !kept[v]
        : edit == Edit::Leaf   ? !kept[v] && task.K[v] > 0
        : edit == Edit::Splice ? task.K[v] > 1
                               : task.cost[v] != 0)
      nodes.push_back(v);
  return nodes;
}

// The task with the edit applied to every marked node; none when that is not
// a valid task (a leaf or several nodes at the top, too many children).
std::optional<Task> apply(const Task& task, Edit edit, const std::vector<char>& marked) {
  Task result{task.N, task.C_l, task.C_s, {}, {}};
  if (edit == Edit::ZeroCost) {
    result = task;
    for (std::size_t v = 0; v < marked.size(); ++v)
      if (marked[v]) result.cost[v] = 0;
    return result;
  }
  const auto children = children_of(task);
  const int n = static_cast<int>(task.K.size());
  const auto is = [&](int v, Edit e) { return marked[v] && edit == e; };
  // Children left to each node, and the entries each gives its parent's list:
  // none when cut, its own children's when spliced, one otherwise.
  std::vector<int> kept(n, 0), entries(n, 1);
  for (int v = n - 1; v >= 0; --v) {
    if (!is(v, Edit::Leaf))
      for (const int c : children[v]) kept[v] += entries[c];
    if (is(v, Edit::Cut)) entries[v] = 0;
    if (is(v, Edit::Splice)) entries[v] = kept[v];
  }
  if (entries[0] != 1) return std::nullopt;
  std::vector<int> stack{0};
  while (!stack.empty()) {
    const int v = stack.back();
    stack.pop_back();
    if (is(v, Edit::Cut)) continue;
    if (!is(v, Edit::Splice)) {
      if (kept[v] > std::min(MaxChildren, task.N)) return std::nullopt;
      result.K.push_back(kept[v]);
      result.cost.push_back(kept[v] > 0 ? task.cost[v] : 0);
    }
    if (!is(v, Edit::Leaf)) stack.insert(stack.end(), children[v].rbegin(), children[v].rend());
  }
  if (result.K[0] == 0) return std::nullopt;
  return result;
}

// Applies the edit to chunks of its candidates, halving the chunks down to one
// node; keeps each result on which fails holds. With `brief`, the halving
// stops once two sizes in a row kept nothing: the failure needs most of the
// tree, and each smaller size costs twice the runs. Whether one was kept.
bool edit_in_chunks(Task& task, Edit edit, const Fails& fails, bool brief) {
  bool changed = false;
  for (std::size_t chunk = candidates(task, edit).size(), barren = 0; chunk > 0; chunk /= 2) {
    if (brief && barren == 2) break;
    ++barren;
    for (std::size_t at = 0;;) {
      const std::vector<int> nodes = candidates(task, edit);
      if (at >= nodes.size()) break;
      std::vector<char> marked(task.K.size(), 0);
      for (std::size_t i = at; i < std::min(at + chunk, nodes.size()); ++i) marked[nodes[i]] = 1;
      const std::optional<Task> trial = apply(task, edit, marked);
      if (trial && fails(*trial)) {
        task = *trial;
        changed = true;
        barren = 0;
      } else {
        at += chunk;
      }
    }
  }
  return changed;
}

// Cuts every node whose key is above a bound: the least bound at which fails
// still holds, by a halving search from the whole task. Whether one was cut.
bool cut_by_halves(Task& task, const std::vector<int>& key, const Fails& fails) {
  int failing = *std::max_element(key.begin(), key.end()), passing = 0;
  std::optional<Task> smallest;
  while (failing - passing > 1) {
    const int middle = passing + (failing - passing) / 2;
    std::vector<char> marked(key.size());
    for (std::size_t v = 0; v < key.size(); ++v) marked[v] = key[v] > middle;
    std::optional<Task> trial = apply(task, Edit::Cut, marked);
    if (trial && fails(*trial))
      failing = middle, smallest = std::move(trial);
    else
      passing = middle;
  }
  if (smallest) task = std::move(*smallest);
  return smallest.has_value();
}

// Merges each chain of one-child nodes, from the last: as many of its nodes,
// from its top, replaced by their child as a halving search finds fails to
// hold with, all of them tried first. Whether one was merged.
bool merge_chains(Task& task, const Fails& fails) {
  bool changed = false;
  for (int bottom = static_cast<int>(task.K.size()) - 1; bottom >= 0; --bottom) {
    if (task.K[bottom] != 1) continue;
    int top = bottom;
    while (top > 0 && task.K[top - 1] == 1) --top;  // a one-child node's child comes next
    const auto merged = [&](int count) {
      std::vector<char> marked(task.K.size(), 0);
      std::fill(marked.begin() + top, marked.begin() + top + count, 1);
      std::optional<Task> trial = apply(task, Edit::Splice, marked);
      return trial && fails(*trial) ? trial : std::nullopt;
    };
    const int length = bottom - top + 1;
    std::optional<Task> best = merged(length);
    if (!best) {
      int failing = 0, passing = length;
      while (passing - failing > 1) {
        const int middle = failing + (passing - failing) / 2;
        if (std::optional<Task> trial = merged(middle))
          failing = middle, best = std::move(trial);
        else
          passing = middle;
      }
    }
    if (best) task = std::move(*best), changed = true;
    bottom = top;
  }
  return changed;
}

// Moves the number that field selects toward target while fails holds:
// target itself, or else the nearest to it that a halving search finds.
// Every value between target and the number must make a valid task.
template <class Field>
bool lower(Task& task, Field field, long long target, const Fails& fails) {
  const long long start = field(task);
  if (start == target) return false;
  Task trial = task;
  const auto fails_at = [&](long long value) {
    field(trial) = static_cast<int>(value);
    return fails(trial);
  };
  long long failing = start, passing = target;
  if (fails_at(target)) failing = target;
  while (failing - passing > 1 || passing - failing > 1) {
    const long long middle = passing + (failing - passing) / 2;
    (fails_at(middle) ? failing : passing) = middle;
  }
  field(task) = static_cast<int>(failing);
  return failing != start;
}

}  // namespace

Task shrink(Task task, const Fails& fails, bool slow) {
  const auto registers = [](Task& t) -> int& { return t.N; };
  const auto load = [](Task& t) -> int& { return t.C_l; };
  const auto store = [](Task& t) -> int& { return t.C_s; };
  const auto in_order = [](const Task& t) {  // each node by its place in pre-order, from 1
    std::vector<int> order(t.K.size());
    for (std::size_t v = 0; v < order.size(); ++v) order[v] = static_cast<int>(v) + 1;
    return order;
  };
  // The steps of a round, in order.
  const std::function<bool()> steps[] = {
      [&] { return cut_by_halves(task, depths(task), fails); },    // everything below a depth
      [&] { return cut_by_halves(task, in_order(task), fails); },  // everything after a place
      [&] { return edit_in_chunks(task, Edit::Cut, fails, slow); },
      [&] { return edit_in_chunks(task, Edit::Leaf, fails, slow); },
      [&] { return edit_in_chunks(task, Edit::Splice, fails, slow); },
      [&] { return merge_chains(task, fails); },
      [&] {
        const int widest = std::max(1, *std::max_element(task.K.begin(), task.K.end()));
        return lower(task, registers, widest, fails);
      },
      [&] { return lower(task, load, 1, fails); },
      [&] { return lower(task, store, 1, fails); },
      [&] { return edit_in_chunks(task, Edit::ZeroCost, fails, slow); },
      [&] {
        bool lowered = false;
        for (const int v : candidates(task, Edit::ZeroCost)) {
          const auto cost = [v](Task& t) -> int& { return t.cost[v]; };
          lowered |= lower(task, cost, 0, fails);
        }
        return lowered;
      },
  };
  // A step that has changed nothing is skipped until the task changes: the
  // last round then costs no runs.
  std::vector<std::optional<Task>> unchanged_on(std::size(steps));
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t i = 0; i < std::size(steps); ++i) {
      if (unchanged_on[i] && *unchanged_on[i] == task) continue;
      if (steps[i]())
        changed = true;
      else
        unchanged_on[i] = task;
    }
  }
  return task;
}

std::string gen_call(const TaskPlan& plan) {
  const TaskPlan defaults;
  const auto range = [](const char* option, long long low, long long high) {
    return " --" + std::string(option) + "=" + std::to_string(low) + "," + std::to_string(high);
  };
  std::string call = std::string("brannik-gen ") + ShapeNames[static_cast<int>(plan.shape)] + " " +
                     std::to_string(plan.nodes) + " " + std::to_string(plan.registers) + " " +
                     std::to_string(plan.seed);
  if (plan.degree) call += " --degree=" + std::to_string(*plan.degree);
  if (plan.cost_low != defaults.cost_low || plan.cost_high != defaults.cost_high)
    call += range("costs", plan.cost_low, plan.cost_high);
  if (plan.load_low != defaults.load_low || plan.load_high != defaults.load_high)
    call += range("load", plan.load_low, plan.load_high);
  if (plan.store_low != defaults.store_low || plan.store_high != defaults.store_high)
    call += range("store", plan.store_low, plan.store_high);
  return call;
}

namespace {

// Both ends of every band of N (1, 2-9, 10, 11-99, 100), and 3.
constexpr int SearchRegisters[] = {1, 2, 3, 9, 10, 11, 99, 100};
constexpr int Shapes = std::size(ShapeNames), Ranges = 3;
constexpr int PlansPerSize = std::size(SearchRegisters) * Shapes;

// Every size from 2 to 16, then a quarter more each time up to max_nodes.
std::vector<int> search_sizes(int max_nodes) {
  std::vector<int> sizes;
  for (int n = 2; n < max_nodes; n += n < 16 ? 1 : (n + 3) / 4) sizes.push_back(n);
  sizes.push_back(max_nodes);
  return sizes;
}

}  // namespace

TaskPlan search_plan(std::uint64_t t, int max_nodes, std::uint32_t first_seed) {
  const std::vector<int> sizes = search_sizes(max_nodes);
  const std::uint64_t at = t % (sizes.size() * PlansPerSize);
  TaskPlan plan;
  plan.nodes = sizes[at / PlansPerSize];
  const std::uint64_t registers = at % PlansPerSize / Shapes,
                      range = (at / PlansPerSize + registers) % Ranges;
  plan.registers = SearchRegisters[registers];
  plan.shape = static_cast<Shape>(at % Shapes);
  plan.seed = static_cast<std::uint32_t>(first_seed + t);
  if (range == 0) {  // the least values, and costs around 0
    plan.cost_low = -2, plan.cost_high = 2;
    plan.load_high = plan.store_high = 2;
  } else if (range == 2) {
    plan.cost_low = INT_MIN, plan.cost_high = INT_MAX;
    plan.load_high = plan.store_high = INT_MAX;
  }
  if (plan.shape == Shape::Full) {  // the most children that divide the nodes below the root
    const long long most = std::min<long long>(MaxChildren, plan.registers);
    long long degree = most;
    while ((plan.nodes - 1) % degree != 0) --degree;
    if (degree != most) plan.degree = degree;
  }
  return plan;
}

int test_once(const std::vector<std::string>& command, const std::string& text, double time_limit,
              long memory_mib, Judgement& failure, long long& runs, char* err) {
  std::string least;
  Fault fault;
  LineReader task(text);
  if (!solve_task(task, least, fault)) {
    failure = judgement_of(Verdict::InputUnusable, fault);
    return 1;
  }
  const RunLimits limits{.seconds = time_limit, .resident_mib = memory_mib};
  for (int run_number = 1;; ++run_number) {
    Ending run;
    if (!run_solution(command, text, limits, run, err)) return 0;
    ++runs;
    failure = judge_run(run, limits, text, least);
    if (failure.fault.kind != FaultKind::TimeLimit || run_number == 2 || run.cpu_seconds >= 0.98 * time_limit)
      return 1;
  }
}

int find_failure(const std::vector<std::string>& command, const StressOptions& options, Search& search,
                 char* err) {
  const auto start = Clock::now();
  const auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  long long runs = 0;
  for (std::uint64_t t = 0; elapsed() < options.budget; ++t) {
    const TaskPlan plan = search_plan(t, options.max_nodes, options.seed);
    std::string text;
    char refused[ErrSize];
    if (!generate_task(plan, text, refused)) continue;
    ++search.tests;
    Judgement failure;
    if (!test_once(command, text, options.time_limit, options.memory_mib, failure, runs, err)) return 0;
    if (failure.verdict != Verdict::Accepted) {
      search.plan = plan;
      search.failure = failure;
      search.task = task_of(text);
      break;
    }
  }
  search.seconds = elapsed();
  return 1;
}

Task shrink_failure(const std::vector<std::string>& command, const Search& search, double time_limit,
                    long memory_mib, Judgement& verdict, long long& runs) {
  verdict = search.failure;
  const bool slow = search.failure.fault.kind == FaultKind::TimeLimit;
  return shrink(
      search.task,
      [&](const Task& task) {
        Judgement failure;
        char err[ErrSize];
        if (!test_once(command, task_text(task), time_limit, memory_mib, failure, runs, err) ||
            !same_way(failure, search.failure))
          return false;
        verdict = failure;
        return true;
      },
      slow);
}

}  // namespace regs
