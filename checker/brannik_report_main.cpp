// brannik-report: the register package's report. Runs every built submission
// on every test of the package as problemtools runs it, judges the outputs,
// and prints the runs and the limits that the tests reach, in Markdown.
// Usage: brannik-report <package-dir> <programs-dir> <memory-MiB>
// A program is <programs-dir>/<folder>/<name>, built from the package's
// submissions/<folder>/<name>.cpp. Status 0 when every submission gets the
// verdict of its folder, 1 when one does not (named on standard error), 2 when
// the report cannot be made.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "report.h"

namespace {

namespace fs = std::filesystem;

// The limit of an accepted submission's runs, which set the others' limit.
constexpr int AcceptedSeconds = 10;

// The files of a folder with the given extension ("" for any), by name.
std::vector<fs::path> files_of(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> files;
  if (fs::is_directory(folder))
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension))
        files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// The submissions' folders, accepted first, then by name.
std::vector<fs::path> folders_of(const fs::path& programs) {
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(programs))
    if (entry.is_directory()) folders.push_back(entry.path());
  std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) {
    return std::make_pair(a.filename() != "accepted", a) < std::make_pair(b.filename() != "accepted", b);
  });
  return folders;
}

struct Ending {
  int status;      // as wait gives it
  double seconds;  // processor time, the user's and the system's
};

// Runs program with in as its standard input and out as its standard output
// under problemtools' limits: processor seconds, address space, and the stack
// as large as the system allows. None when it cannot be started.
std::optional<Ending> run(const fs::path& program, const fs::path& in, const fs::path& out, int seconds,
                          long megabytes) {
  const pid_t pid = fork();
  if (pid == 0) {
    const rlimit cpu{static_cast<rlim_t>(seconds), static_cast<rlim_t>(seconds) + 1};
    const rlimit memory{static_cast<rlim_t>(megabytes) << 20, RLIM_INFINITY};
    rlimit stack{};
    getrlimit(RLIMIT_STACK, &stack);
    stack.rlim_cur = stack.rlim_max;
    const int input = open(in.c_str(), O_RDONLY);
    const int output = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_WRONLY);
    if (setrlimit(RLIMIT_CPU, &cpu) != 0 || setrlimit(RLIMIT_AS, &memory) != 0 ||
        setrlimit(RLIMIT_STACK, &stack) != 0 || input < 0 || output < 0 || null < 0 || dup2(input, 0) < 0 ||
        dup2(output, 1) < 0 || dup2(null, 2) < 0)
      _exit(127);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  Ending ending{0, 0};
  rusage usage{};
  if (pid < 0 || wait4(pid, &ending.status, 0, &usage) != pid) return std::nullopt;
  ending.seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return ending;
}

// A run that ended: beyond the time limit TLE, by anything but exit status 0
// RTE, else its output judged.
regs::Run judged(const Ending& e, int seconds, const regs::TestFacts& test, const fs::path& in,
                 const fs::path& out) {
  regs::Run r;
  if (e.seconds > seconds || (WIFSIGNALED(e.status) && WTERMSIG(e.status) == SIGXCPU)) {
    r.outcome = regs::Outcome::TLE;
  } else if (WIFSIGNALED(e.status)) {
    r.outcome = regs::Outcome::RTE;
    r.message = "signal " + std::to_string(WTERMSIG(e.status));
  } else if (WEXITSTATUS(e.status) != 0) {
    r.outcome = regs::Outcome::RTE;
    r.message = "exit status " + std::to_string(WEXITSTATUS(e.status));
  } else {
    fs::path ans = in;
    r = regs::judge_output(test, in, ans.replace_extension(".ans"), out);
  }
  r.test = test.name;
  r.least = test.stores_of(test.least);
  r.seconds = e.seconds;
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  const long megabytes = argc == 4 ? std::atol(argv[3]) : 0;
  if (megabytes <= 0) {
    std::fputs("usage: brannik-report <package-dir> <programs-dir> <memory-MiB>\n", stderr);
    return 2;
  }
  const fs::path package = argv[1], programs = argv[2], out = programs / "output";

  std::vector<regs::TestFacts> tests;
  std::vector<fs::path> inputs;
  for (const char* group : {"sample", "secret"})
    for (const fs::path& in : files_of(package / "data" / group, ".in")) {
      regs::TestFacts t;
      t.name = std::string(group) + "/" + in.stem().string();
      fs::path ans = in;
      const std::string error = regs::read_test(in, ans.replace_extension(".ans"), t);
      if (!error.empty()) {
        std::fprintf(stderr, "brannik-report: %s: %s\n", t.name.c_str(), error.c_str());
        return 2;
      }
      tests.push_back(t);
      inputs.push_back(in);
    }

  // The accepted submissions run first; as problemtools sets it, the others'
  // time limit is then five times the slowest of their runs, rounded, at least 1 s.
  if (tests.empty()) {
    std::fputs("brannik-report: the package has no tests\n", stderr);
    return 2;
  }
  std::vector<regs::Run> runs;
  int seconds = AcceptedSeconds;
  double slowest = 0;
  bool limited = false, mismatch = false;
  for (const fs::path& folder : folders_of(programs)) {
    const bool accepted = folder.filename() == "accepted";
    if (!accepted && !limited) {
      seconds = std::max(1, static_cast<int>(0.5 + 5 * slowest));
      limited = true;
    }
    for (const fs::path& program : files_of(folder, "")) {
      std::vector<regs::Run> own;
      for (std::size_t i = 0; i < tests.size(); ++i) {
        const auto ending = run(program, inputs[i], out, seconds, megabytes);
        if (!ending) {
          std::fprintf(stderr, "brannik-report: cannot run %s\n", program.c_str());
          return 2;
        }
        own.push_back(judged(*ending, seconds, tests[i], inputs[i], out));
        own.back().submission = folder.filename().string() + "/" + program.filename().string() + ".cpp";
        if (accepted) slowest = std::max(slowest, ending->seconds);
      }
      const auto expected = regs::expected_of(folder.filename().string());
      if (!expected || regs::verdict_of(own) != *expected) {
        std::fprintf(stderr, "brannik-report: %s gets %s, its folder asks for %s\n",
                     own[0].submission.c_str(), regs::outcome_name(regs::verdict_of(own)),
                     expected ? regs::outcome_name(*expected) : "none");
        mismatch = true;
      }
      runs.insert(runs.end(), own.begin(), own.end());
    }
  }

  std::printf(
      "# The register package's report\n\nEvery submission on every test, run as problemtools runs it: the "
      "accepted ones within %d s, the others within the time limit that their runs set, %d s; %ld MiB of "
      "memory; the stack as large as the system allows. A submission's verdict is that of its first run that "
      "is not AC. A valid answer's stores stand beside the least.\n\n%s\n## The limits the tests reach\n\n%s",
      AcceptedSeconds, seconds, megabytes, regs::runs_table(runs).c_str(), regs::limits_table(tests).c_str());
  if (std::fflush(stdout) != 0) return 2;
  return mismatch ? 1 : 0;
}
