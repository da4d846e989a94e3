// The run of a contestant's program: forked, limited and executed, fed and
// read through pipes, its whole process group killed at the end.
#include "runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "output.h"

namespace regs {

namespace {

using Clock = std::chrono::steady_clock;

void close_once(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// The descriptors of a run, every one closed on exec in the caller's other
// children, and closed here at the latest when the run is over.
struct Descriptors {
  int in[2] = {-1, -1};    // the program's standard input
  int out[2] = {-1, -1};   // its standard output
  int exec[2] = {-1, -1};  // the error number of a failed exec, or nothing
  int null = -1;           // its standard error
  Descriptors() = default;
  Descriptors(const Descriptors&) = delete;
  Descriptors& operator=(const Descriptors&) = delete;
  ~Descriptors() {
    for (int* fd : {&in[0], &in[1], &out[0], &out[1], &exec[0], &exec[1], &null}) close_once(*fd);
  }
  bool open_all() {
    null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    return pipe2(in, O_CLOEXEC) == 0 && pipe2(out, O_CLOEXEC) == 0 && pipe2(exec, O_CLOEXEC) == 0 &&
           null >= 0;
  }
};

// A resource limit to set in the program.
struct Resource {
  int resource;
  rlimit value;
};

// The limits' resource limits, each capped at the hard limit in force, as
// problemtools caps them: worked out before the fork, so that the child only
// sets them. Their count.
int resource_limits(const RunLimits& limits, Resource (&out)[3]) {
  int count = 0;
  const auto capped = [&](int resource, rlim_t soft, rlim_t hard) {
    rlimit now{};
    getrlimit(resource, &now);
    out[count++] = {resource, {std::min(soft, now.rlim_max), std::min(hard, now.rlim_max)}};
  };
  const auto cpu = static_cast<rlim_t>(std::ceil(limits.cpu_seconds));
  if (limits.cpu_seconds > 0) capped(RLIMIT_CPU, cpu, cpu + 1);
  const auto mib = std::min(static_cast<rlim_t>(limits.memory_mib), RLIM_INFINITY >> 20);
  if (limits.memory_mib > 0) capped(RLIMIT_AS, mib << 20, RLIM_INFINITY);
  if (limits.raise_stack) capped(RLIMIT_STACK, RLIM_INFINITY, RLIM_INFINITY);
  return count;
}

// In the child: a process group of its own, killed whole; SIGPIPE at its
// default and no signal blocked; the limits; the pipes as standard input and
// output, /dev/null as standard error; then the program. Only calls that are
// safe after a fork. When the exec fails, its error number goes to the parent.
[[noreturn]] void become(char* const* argv, const Descriptors& d, const Resource* resources, int count) {
  setpgid(0, 0);
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  sigaction(SIGPIPE, &default_action, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  int error = 0;
  for (int i = 0; i < count && error == 0; ++i)
    if (setrlimit(resources[i].resource, &resources[i].value) != 0) error = errno;
  if (error == 0 && (dup2(d.in[0], STDIN_FILENO) < 0 || dup2(d.out[1], STDOUT_FILENO) < 0 ||
                     dup2(d.null, STDERR_FILENO) < 0))
    error = errno;
  if (error == 0) {
    execvp(argv[0], argv);
    error = errno;
  }
  [[maybe_unused]] const ssize_t sent = write(d.exec[1], &error, sizeof error);
  _exit(127);
}

// Whether the program's resident memory is over `mib` now, with what it was
// seen at in `seen_kib`; never with no limit.
bool over_resident(pid_t pid, long mib, long& seen_kib) {
  if (mib <= 0) return false;
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%d/statm", static_cast<int>(pid));
  std::FILE* statm = std::fopen(path, "r");
  if (!statm) return false;
  unsigned long size = 0, resident = 0;
  const bool read = std::fscanf(statm, "%lu %lu", &size, &resident) == 2;
  std::fclose(statm);
  if (!read) return false;
  seen_kib = static_cast<long>(resident * static_cast<unsigned long>(sysconf(_SC_PAGESIZE)) >> 10);
  return seen_kib > mib * 1024;
}

// How often a program under a resident limit is looked at.
constexpr int WatchMilliseconds = 20;

// Feeds the input and reads the output until the output ends, passes
// MaxOutput, the program passes its resident limit or the deadline comes;
// the end it came to.
Ending::End exchange(int& in, int& out, const std::string& input, Clock::time_point deadline, pid_t pid,
                     long resident_mib, std::string& output, long& seen_kib) {
  fcntl(in, F_SETFL, O_NONBLOCK);
  std::size_t sent = 0;
  if (input.empty()) close_once(in);
  char block[1 << 16];
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return Ending::TimedOut;
    if (over_resident(pid, resident_mib, seen_kib)) return Ending::MemoryLimit;
    const long long wait = resident_mib > 0 ? std::min<long long>(left, WatchMilliseconds) : left;
    pollfd watched[2] = {{out, POLLIN, 0}, {in, POLLOUT, 0}};
    if (poll(watched, in >= 0 ? 2 : 1, static_cast<int>(std::min<long long>(wait, INT_MAX))) < 0) continue;
    if (in >= 0 && watched[1].revents != 0) {
      const ssize_t n = write(in, input.data() + sent, input.size() - sent);
      if (n > 0) sent += n;
      // A program that has closed its input, or ended, reads no more of it.
      if (sent == input.size() || (n < 0 && errno != EAGAIN && errno != EINTR)) close_once(in);
    }
    if (watched[0].revents != 0) {
      const ssize_t n = read(out, block, sizeof block);
      if (n == 0 || (n < 0 && errno != EINTR)) return Ending::Exited;
      if (n > 0) output.append(block, n);
      if (output.size() > MaxOutput) {
        output.resize(MaxOutput);
        return Ending::OutputLimit;
      }
    }
  }
}

// How a program whose output has closed ends: Exited by the deadline,
// TimedOut, or MemoryLimit when it passes its resident limit first. It is left
// unreaped, so that its process group cannot be reused before it is killed.
Ending::End wait_for_end(pid_t pid, Clock::time_point deadline, long resident_mib, long& seen_kib) {
  for (long pause = 20000;; pause = std::min(pause * 2, 1000000L)) {
    siginfo_t info{};
    if (waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid)
      return Ending::Exited;
    if (Clock::now() >= deadline) return Ending::TimedOut;
    if (over_resident(pid, resident_mib, seen_kib)) return Ending::MemoryLimit;
    const timespec nap{0, pause};
    nanosleep(&nap, nullptr);
  }
}

int cannot_run(const std::vector<std::string>& command, int error, char* err) {
  return refuse(err, "cannot run %s: %s", command.empty() ? "" : command[0].c_str(), std::strerror(error));
}

}  // namespace

int run_solution(const std::vector<std::string>& command, const std::string& input, const RunLimits& limits,
                 Ending& run, char* err) {
  ignore_broken_pipes();  // a program that leaves its input unread is a failed write
  if (command.empty()) return cannot_run(command, ENOENT, err);
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  Resource resources[3];
  const int count = resource_limits(limits, resources);
  Descriptors d;
  if (!d.open_all()) return refuse(err, "cannot make a pipe: %s", std::strerror(errno));

  const pid_t pid = fork();
  if (pid < 0) return cannot_run(command, errno, err);
  if (pid == 0) become(argv.data(), d, resources, count);
  close_once(d.in[0]);
  close_once(d.out[1]);
  close_once(d.exec[1]);
  close_once(d.null);
  int error = 0;
  ssize_t got;
  while ((got = read(d.exec[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  if (got > 0) {  // the exec failed: nothing ran
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return cannot_run(command, error, err);
  }

  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(limits.seconds));
  Ending done;
  long seen_kib = 0;  // the resident memory last seen while it ran
  done.end = exchange(d.in[1], d.out[0], input, deadline, pid, limits.resident_mib, done.output, seen_kib);
  close_once(d.in[1]);
  close_once(d.out[0]);
  if (done.end == Ending::Exited) done.end = wait_for_end(pid, deadline, limits.resident_mib, seen_kib);
  kill(-pid, SIGKILL);  // the whole group, and whatever the program left running in it
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  done.cpu_seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  const bool over_cpu = limits.cpu_seconds > 0 && (done.cpu_seconds > limits.cpu_seconds ||
                                                   (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU));
  if (done.end == Ending::Exited && over_cpu) done.end = Ending::TimedOut;
  if (done.end == Ending::Exited && WIFSIGNALED(status))
    done.end = Ending::Signalled, done.code = WTERMSIG(status);
  if (done.end == Ending::Exited) done.code = WEXITSTATUS(status);
  // ru_maxrss is the larger of the program's own peak and that of the fork's
  // copy of this process before the exec; this process keeping far below any
  // limit asked for, a peak over the limit is the program's own.
  done.peak_kib = std::max(usage.ru_maxrss, seen_kib);
  if (limits.resident_mib > 0 && done.peak_kib > limits.resident_mib * 1024) done.end = Ending::MemoryLimit;
  run = std::move(done);
  return 1;
}

}  // namespace regs
