// The search for a failing test of a solution, and its shrinking.
#include "stress.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include "args.h"
#include "judge.h"
#include "solve.h"

namespace regs {

namespace {

using Clock = std::chrono::steady_clock;

// A text as a stream, for the reader and the replay.
struct TextStream {
  explicit TextStream(const std::string& text)
      : file(fmemopen(const_cast<char*>(text.data()), text.size(), "r")) {
    if (!file) throw std::bad_alloc();
  }
  ~TextStream() { std::fclose(file); }
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;
  std::FILE* file;
};

std::string seconds_text(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}

}  // namespace

Task task_of(const std::string& text) {
  TextStream in(text);
  char err[ErrSize];
  Task task;
  if (!read_task(in.file, err)) return task;
  task.N = N, task.C_l = C_l, task.C_s = C_s;
  for (int i = 1; i <= M; ++i) {
    task.K.push_back(node_map[i]->K);
    task.cost.push_back(node_map[i]->K > 0 ? node_map[i]->cost : 0);
  }
  delete_data();
  return task;
}

std::string task_text(const Task& task) {
  std::string text =
      std::to_string(task.N) + "\n" + std::to_string(task.C_l) + " " + std::to_string(task.C_s) + "\n";
  for (std::size_t v = 0; v < task.K.size(); ++v) {
    text += std::to_string(task.K[v]) + "\n";
    if (task.K[v] > 0) text += std::to_string(task.cost[v]) + "\n";
  }
  return text;
}

Failure judge_run(const std::string& text, const Ending& run, double seconds, long memory_mib) {
  switch (run.end) {
    case Ending::MemoryLimit:
      return {Failure::MemoryLimit, FaultKind::None, 0,
              "memory limit: " + std::to_string((run.peak_kib + 1023) / 1024) + " MiB used, more than " +
                  std::to_string(memory_mib) + " MiB"};
    case Ending::TimedOut:
      return {Failure::TimeLimit, FaultKind::None, 0,
              "time limit: still running after " + seconds_text(seconds) + " s"};
    case Ending::OutputLimit:
      return {Failure::OutputLimit, FaultKind::None, 0,
              "output limit: more than " + std::to_string(MaxOutput) + " bytes"};
    case Ending::Signalled:
      return {Failure::Crashed, FaultKind::None, run.code,
              "crashed: signal " + std::to_string(run.code) + " (" + strsignal(run.code) + ")"};
    case Ending::Exited:
      if (run.code != 0)
        return {Failure::ExitStatus, FaultKind::None, run.code, "exit status " + std::to_string(run.code)};
  }

  TextStream task(text);
  Judgement j;
  j.verdict = Verdict::Rejected;
  if (!read_task(task.file, j.message)) return {};
  std::string least_answer;
  try {
    solve(least_answer, j.message);
    TextStream answer(run.output);
    if (replay_answer(answer.file, j.message, j.claimed, j.total, &j.fault)) j.verdict = Verdict::Accepted;
  } catch (...) {
    delete_data();
    throw;
  }
  delete_data();
  const long long least = std::stoll(least_answer);
  if (j.verdict == Verdict::Rejected) {
    return {Failure::Rejected, j.fault.kind, 0, "rejected: " + answer_line(j).words()};
  }
  const std::string costs =
      "total cost " + std::to_string(j.total) + ", the least is " + std::to_string(least);
  if (j.total > least) return {Failure::Dearer, FaultKind::None, 0, "dearer: " + costs};
  if (j.total < least)
    return {Failure::Cheaper, FaultKind::None, 0, "cheaper than the solver's answer: " + costs};
  return {};
}

bool same_way(const Failure& a, const Failure& b) {
  return a.kind == b.kind && a.fault == b.fault && a.code == b.code;
}

namespace {

using Fails = std::function<bool(const Task&)>;

// Each node's children, from the counts in pre-order.
std::vector<std::vector<int>> children_of(const Task& task) {
  const int n = static_cast<int>(task.K.size());
  std::vector<std::vector<int>> children(n);
  std::vector<int> open;  // inner nodes still owed children
  for (int v = 0; v < n; ++v) {
    if (!open.empty()) {
      const int parent = open.back();
      children[parent].push_back(v);
      if (static_cast<int>(children[parent].size()) == task.K[parent]) open.pop_back();
    }
    if (task.K[v] > 0) open.push_back(v);
  }
  return children;
}

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
  // Each step of a round, once it has changed nothing, is skipped until the
  // task changes: the last round then costs no runs.
  std::optional<Task> settled[11];
  const auto step = [&](int i, const auto& edit) {
    if (settled[i] && *settled[i] == task) return false;
    const bool changed = edit();
    if (!changed) settled[i] = task;
    return changed;
  };
  for (bool changed = true; changed;) {
    changed = step(0, [&] { return cut_by_halves(task, depths(task), fails); });
    changed |= step(1, [&] {
      std::vector<int> order(task.K.size());
      for (std::size_t v = 0; v < order.size(); ++v) order[v] = static_cast<int>(v) + 1;
      return cut_by_halves(task, order, fails);
    });
    changed |= step(2, [&] { return edit_in_chunks(task, Edit::Cut, fails, slow); });
    changed |= step(3, [&] { return edit_in_chunks(task, Edit::Leaf, fails, slow); });
    changed |= step(4, [&] { return edit_in_chunks(task, Edit::Splice, fails, slow); });
    changed |= step(5, [&] { return merge_chains(task, fails); });
    const int widest = std::max(1, *std::max_element(task.K.begin(), task.K.end()));
    changed |= step(6, [&] { return lower(task, registers, widest, fails); });
    changed |= step(7, [&] { return lower(task, load, 1, fails); });
    changed |= step(8, [&] { return lower(task, store, 1, fails); });
    changed |= step(9, [&] { return edit_in_chunks(task, Edit::ZeroCost, fails, slow); });
    changed |= step(10, [&] {
      bool lowered = false;
      for (const int v : candidates(task, Edit::ZeroCost)) {
        const auto cost = [v](Task& t) -> int& { return t.cost[v]; };
        lowered |= lower(task, cost, 0, fails);
      }
      return lowered;
    });
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
              long memory_mib, Failure& failure, long long& runs, char* err) {
  for (int run_number = 1;; ++run_number) {
    Ending run;
    if (!run_solution(command, text, {.seconds = time_limit, .resident_mib = memory_mib}, run, err)) return 0;
    ++runs;
    failure = judge_run(text, run, time_limit, memory_mib);
    if (failure.kind != Failure::TimeLimit || run_number == 2 || run.cpu_seconds >= 0.98 * time_limit)
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
    Failure failure;
    if (!test_once(command, text, options.time_limit, options.memory_mib, failure, runs, err)) return 0;
    if (failure.kind != Failure::None) {
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
                    long memory_mib, Failure& verdict, long long& runs) {
  verdict = search.failure;
  const bool slow = search.failure.kind == Failure::TimeLimit;
  return shrink(
      search.task,
      [&](const Task& task) {
        Failure failure;
        char err[ErrSize];
        if (!test_once(command, task_text(task), time_limit, memory_mib, failure, runs, err) ||
            !same_way(failure, search.failure))
          return false;
        verdict = failure;
        return true;
      },
      slow);
}

namespace {

// A whole number from low to high, nothing else in text.
bool whole(std::string_view text, long long low, long long high, long long& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// A number of seconds from low to high, such as 2 or 0.5, nothing else in text.
bool seconds(std::string_view text, double low, double high, double& value) {
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

}  // namespace

int read_stress_call(int argc, char** argv, StressCall& call, char* err) {
  constexpr const char* Usage =
      "usage: brannik-stress [--seed=S] [--budget=SECONDS] [--max-nodes=M] [--time-limit=SECONDS] "
      "[--memory=MIB] [-o FILE] -- <command...>";
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    const std::string_view option = argv[i];
    const std::size_t equals = option.find('=');
    const std::string_view name = option.substr(0, equals);
    const std::string value(equals == option.npos ? "" : option.substr(equals + 1));
    long long number = 0;
    if (option == "-o" && i + 1 < argc)
      call.file = argv[++i];
    else if (name == "--max-nodes" && whole(value, 2, MaxNodes, number))
      call.options.max_nodes = static_cast<int>(number);
    else if (name == "--memory" && whole(value, 1, 1 << 20, number))
      call.options.memory_mib = static_cast<long>(number);
    else if (!(name == "--seed" && read_seed(value.c_str(), call.options.seed)) &&
             !(name == "--budget" && seconds(value, 0, 1e9, call.options.budget)) &&
             !(name == "--time-limit" && seconds(value, 0.001, 1e6, call.options.time_limit)))
      return std::snprintf(err, ErrSize, "%s", Usage), 0;
  }
  call.command.assign(argv + std::min(i + 1, argc), argv + argc);
  if (call.command.empty()) return std::snprintf(err, ErrSize, "%s", Usage), 0;
  return 1;
}

}  // namespace regs
