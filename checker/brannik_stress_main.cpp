// brannik-stress: runs a solution of the register task on generated tests
// until one fails, shrinks that test while it fails in the same way, and
// writes it: brannik-stress [options] -- <command...>.
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "brannik_version.h"
#include "descriptors.h"
#include "judge.h"
#include "stress.h"

namespace {

constexpr int Failed = 1;
constexpr int CannotRun = 2;  // a bad call, a command that cannot start, a file that cannot be written

constexpr const char* Usage =
    "usage: brannik-stress [--seed=S] [--budget=SECONDS] [--max-nodes=M] [--time-limit=SECONDS] [-o FILE] "
    "-- <command...>\n";

// A whole number from low to high, nothing else in text.
bool whole(std::string_view text, long long low, long long high, long long& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// A number of seconds from low to high, such as 2 or 0.5.
bool seconds(std::string_view text, double low, double high, double& value) {
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

struct Call {
  regs::StressOptions options;
  std::string file = "stress.in";
  std::vector<std::string> command;
};

// The call's options and command, or false when it does not follow the usage line.
bool read_call(int argc, char** argv, Call& call) {
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    const std::string_view option = argv[i];
    const std::size_t equals = option.find('=');
    const std::string_view name = option.substr(0, equals);
    const std::string_view value = equals == option.npos ? "" : option.substr(equals + 1);
    long long number = 0;
    if (option == "-o" && i + 1 < argc)
      call.file = argv[++i];
    else if (name == "--seed" && whole(value, 0, 4294967295, number))
      call.options.seed = static_cast<std::uint32_t>(number);
    else if (name == "--max-nodes" && whole(value, 2, regs::MaxNodes, number))
      call.options.max_nodes = static_cast<int>(number);
    else if (!(name == "--budget" && seconds(value, 0, 1e9, call.options.budget)) &&
             !(name == "--time-limit" && seconds(value, 0.001, 1e6, call.options.time_limit)))
      return false;
  }
  call.command.assign(argv + std::min(i + 1, argc), argv + argc);
  return !call.command.empty();
}

bool write_file(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  const bool written = file && regs::write_all(file, text.c_str());
  return file && std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
    return std::printf("brannik-stress %s\n", regs::Version) < 0;
  Call call;
  if (!read_call(argc, argv, call)) return std::fputs(Usage, stderr), CannotRun;
  if (regs::reopen_standard_descriptors() < 0) return CannotRun;

  regs::Search search;
  if (auto reason = regs::find_failure(call.command, call.options, search))
    return std::fprintf(stderr, "brannik-stress: %s\n", reason->c_str()), CannotRun;
  if (!search.plan) {
    std::printf("no failure in %llu tests (%.1f s), trees of up to %d nodes\n",
                static_cast<unsigned long long>(search.tests), search.seconds, call.options.max_nodes);
    return 0;
  }
  std::printf("failing test %llu after %.1f s: %s\n", static_cast<unsigned long long>(search.tests),
              search.seconds, regs::gen_call(*search.plan).c_str());
  std::fflush(stdout);

  regs::Failure verdict;
  long long runs = 0;
  const regs::Task smallest =
      regs::shrink_failure(call.command, search, call.options.time_limit, verdict, runs);
  std::printf("shrunk from %zu to %zu nodes in %lld runs\n", search.task.K.size(), smallest.K.size(), runs);
  std::printf("%s: %s\n", call.file.c_str(), verdict.verdict.c_str());
  if (!write_file(call.file, regs::task_text(smallest)))
    return std::fprintf(stderr, "brannik-stress: cannot write %s: %s\n", call.file.c_str(),
                        std::strerror(errno)),
           CannotRun;
  return Failed;
}
