// The search for a failing test of a solution, and its shrinking.
#include "stress.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include "args.h"
#include "judge.h"
#include "solve.h"

extern char** environ;

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

void close_once(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// The program started with its standard input and output on the pipes' ends,
// or the error number of the failure.
int spawn(const std::vector<std::string>& command, int input, int output, pid_t& pid) {
  if (command.empty()) return ENOENT;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, pipe_signal;
  sigemptyset(&none);
  sigemptyset(&pipe_signal);
  sigaddset(&pipe_signal, SIGPIPE);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &pipe_signal);
  posix_spawnattr_setpgroup(&attributes, 0);  // a group of its own, killed whole
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return error;
}

// Feeds the input and reads the output until the output ends, passes
// MaxOutput or the deadline comes; the end it came to.
Run::End exchange(int& in, int& out, const std::string& input, Clock::time_point deadline,
                  std::string& output) {
  fcntl(in, F_SETFL, O_NONBLOCK);
  std::size_t sent = 0;
  if (input.empty()) close_once(in);
  char block[1 << 16];
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return Run::TimedOut;
    pollfd watched[2] = {{out, POLLIN, 0}, {in, POLLOUT, 0}};
    if (poll(watched, in >= 0 ? 2 : 1, static_cast<int>(std::min<long long>(left, INT_MAX))) < 0) continue;
    if (in >= 0 && watched[1].revents != 0) {
      const ssize_t n = write(in, input.data() + sent, input.size() - sent);
      if (n > 0) sent += n;
      // A program that has closed its input, or ended, reads no more of it.
      if (sent == input.size() || (n < 0 && errno != EAGAIN && errno != EINTR)) close_once(in);
    }
    if (watched[0].revents != 0) {
      const ssize_t n = read(out, block, sizeof block);
      if (n == 0 || (n < 0 && errno != EINTR)) return Run::Exited;
      if (n > 0) output.append(block, n);
      if (output.size() > MaxOutput) {
        output.resize(MaxOutput);
        return Run::OutputLimit;
      }
    }
  }
}

// Whether the program has ended by the deadline; it is left unreaped, so that
// its process group cannot be reused before it is killed.
bool ended_by(pid_t pid, Clock::time_point deadline) {
  for (long pause = 20000;; pause = std::min(pause * 2, 1000000L)) {
    siginfo_t info{};
    if (waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid) return true;
    if (Clock::now() >= deadline) return false;
    const timespec nap{0, pause};
    nanosleep(&nap, nullptr);
  }
}

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

std::optional<std::string> run_solution(const std::vector<std::string>& command, const std::string& input,
                                        double seconds, Run& run) {
  std::signal(SIGPIPE, SIG_IGN);  // a program that leaves its input unread is a failed write
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return std::string("cannot make a pipe: ") + std::strerror(errno);
  if (pipe2(out, O_CLOEXEC) != 0) {
    const int error = errno;
    close(in[0]), close(in[1]);
    return std::string("cannot make a pipe: ") + std::strerror(error);
  }
  pid_t pid = 0;
  const int error = spawn(command, in[0], out[1], pid);
  close_once(in[0]);
  close_once(out[1]);
  if (error != 0) {
    close_once(in[1]);
    close_once(out[0]);
    return "cannot run " + (command.empty() ? std::string() : command[0]) + ": " + std::strerror(error);
  }

  const auto deadline =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  Run done;
  done.end = exchange(in[1], out[0], input, deadline, done.output);
  close_once(in[1]);
  close_once(out[0]);
  if (done.end == Run::Exited && !ended_by(pid, deadline))
    done.end = Run::TimedOut;  // output closed, still running
  kill(-pid, SIGKILL);         // the whole group, and whatever the program left running in it
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (done.end == Run::Exited && WIFSIGNALED(status)) done.end = Run::Signalled, done.code = WTERMSIG(status);
  if (done.end == Run::Exited) done.code = WEXITSTATUS(status);
  run = std::move(done);
  return std::nullopt;
}

Failure judge_run(const std::string& text, const Run& run, double seconds) {
  switch (run.end) {
    case Run::TimedOut:
      return {Failure::TimeLimit, FaultKind::None, 0,
              "time limit: still running after " + seconds_text(seconds) + " s"};
    case Run::OutputLimit:
      return {Failure::OutputLimit, FaultKind::None, 0,
              "output limit: more than " + std::to_string(MaxOutput) + " bytes"};
    case Run::Signalled:
      return {Failure::Crashed, FaultKind::None, run.code,
              "crashed: signal " + std::to_string(run.code) + " (" + strsignal(run.code) + ")"};
    case Run::Exited:
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
    std::string message = answer_line(j).text;
    message.pop_back();
    return {Failure::Rejected, j.fault.kind, 0, "rejected: " + message};
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

// The nodes an edit may apply to, in pre-order.
std::vector<int> candidates(const Task& task, Edit edit) {
  std::vector<int> nodes;
  for (int v = 0; v < static_cast<int>(task.K.size()); ++v)
    if (edit == Edit::Cut      ? v > 0
        : edit == Edit::Leaf   ? v > 0 && task.K[v] > 0
        : edit == Edit::Splice ? task.K[v] > 0
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
// node; keeps each result on which fails holds. Whether one was kept.
bool edit_in_chunks(Task& task, Edit edit, const Fails& fails) {
  bool changed = false;
  for (std::size_t chunk = candidates(task, edit).size(); chunk > 0; chunk /= 2) {
    for (std::size_t at = 0;;) {
      const std::vector<int> nodes = candidates(task, edit);
      if (at >= nodes.size()) break;
      std::vector<char> marked(task.K.size(), 0);
      for (std::size_t i = at; i < std::min(at + chunk, nodes.size()); ++i) marked[nodes[i]] = 1;
      const std::optional<Task> trial = apply(task, edit, marked);
      if (trial && fails(*trial)) {
        task = *trial;
        changed = true;
      } else {
        at += chunk;
      }
    }
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

Task shrink(Task task, const Fails& fails) {
  const auto registers = [](Task& t) -> int& { return t.N; };
  const auto load = [](Task& t) -> int& { return t.C_l; };
  const auto store = [](Task& t) -> int& { return t.C_s; };
  // Each step of a round, once it has changed nothing, is skipped until the
  // task changes: the last round then costs no runs.
  std::optional<Task> settled[8];
  const auto step = [&](int i, const auto& edit) {
    if (settled[i] && *settled[i] == task) return false;
    const bool changed = edit();
    if (!changed) settled[i] = task;
    return changed;
  };
  for (bool changed = true; changed;) {
    changed = step(0, [&] { return edit_in_chunks(task, Edit::Cut, fails); });
    changed |= step(1, [&] { return edit_in_chunks(task, Edit::Leaf, fails); });
    changed |= step(2, [&] { return edit_in_chunks(task, Edit::Splice, fails); });
    const int widest = std::max(1, *std::max_element(task.K.begin(), task.K.end()));
    changed |= step(3, [&] { return lower(task, registers, widest, fails); });
    changed |= step(4, [&] { return lower(task, load, 1, fails); });
    changed |= step(5, [&] { return lower(task, store, 1, fails); });
    changed |= step(6, [&] { return edit_in_chunks(task, Edit::ZeroCost, fails); });
    changed |= step(7, [&] {
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

constexpr int SearchRegisters[] = {1, 2, 3, 4, 5, 7, 10, 100};
constexpr int Shapes = std::size(ShapeNames), Ranges = 2;
constexpr int PlansPerSize = std::size(SearchRegisters) * Shapes * Ranges;

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
  plan.registers = SearchRegisters[at % PlansPerSize / (Shapes * Ranges)];
  plan.shape = static_cast<Shape>(at % (Shapes * Ranges) / Ranges);
  plan.seed = static_cast<std::uint32_t>(first_seed + t);
  if (at % Ranges == 1) {
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

std::optional<std::string> test_once(const std::vector<std::string>& command, const std::string& text,
                                     double time_limit, Failure& failure, long long& runs) {
  for (int run_number = 1;; ++run_number) {
    Run run;
    if (auto reason = run_solution(command, text, time_limit, run)) return reason;
    ++runs;
    failure = judge_run(text, run, time_limit);
    if (failure.kind != Failure::TimeLimit || run_number == 2) return std::nullopt;
  }
}

std::optional<std::string> find_failure(const std::vector<std::string>& command, const StressOptions& options,
                                        Search& search) {
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
    if (auto reason = test_once(command, text, options.time_limit, failure, runs)) return reason;
    if (failure.kind != Failure::None) {
      search.plan = plan;
      search.failure = failure;
      search.task = task_of(text);
      break;
    }
  }
  search.seconds = elapsed();
  return std::nullopt;
}

Task shrink_failure(const std::vector<std::string>& command, const Search& search, double time_limit,
                    Failure& verdict, long long& runs) {
  verdict = search.failure;
  return shrink(search.task, [&](const Task& task) {
    Failure failure;
    if (test_once(command, task_text(task), time_limit, failure, runs) || !same_way(failure, search.failure))
      return false;
    verdict = failure;
    return true;
  });
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
      "usage: brannik-stress [--seed=S] [--budget=SECONDS] [--max-nodes=M] [--time-limit=SECONDS] [-o FILE] "
      "-- <command...>";
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    const std::string_view option = argv[i];
    const std::size_t equals = option.find('=');
    const std::string_view name = option.substr(0, equals);
    const std::string value(equals == option.npos ? "" : option.substr(equals + 1));
    long long nodes = 0;
    if (option == "-o" && i + 1 < argc)
      call.file = argv[++i];
    else if (name == "--max-nodes" && whole(value, 2, MaxNodes, nodes))
      call.options.max_nodes = static_cast<int>(nodes);
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
