// brannik-gen: writes one register task of a given shape, size and seed to
// standard output, for judging systems that make test sets by generator runs.
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "brannik_version.h"
#include "task_gen.h"

namespace {

constexpr int BadCall = 1;
constexpr int NotWritten = 2;  // as brannik's status when its verdict cannot be written

constexpr const char* Usage =
    "usage: brannik-gen random|chain|complete|comb|full <nodes> <N> <seed> [--degree=K] [--costs=LO,HI] "
    "[--load=LO,HI] [--store=LO,HI]\n";

// A plain decimal at the front of text ("0", or an optional "-" and at most
// 18 digits without a leading zero), taken off it.
bool take_plain(std::string_view& text, long long& value) {
  const std::size_t sign = !text.empty() && text[0] == '-';
  std::size_t end = sign;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  const std::size_t digits = end - sign;
  if (digits == 0 || digits > 18 || (text[sign] == '0' && (digits > 1 || sign))) return false;
  std::from_chars(text.data(), text.data() + end, value);
  text.remove_prefix(end);
  return true;
}

bool plain(std::string_view text, long long& value) { return take_plain(text, value) && text.empty(); }

// "LO,HI"
bool plain_pair(std::string_view text, long long& low, long long& high) {
  if (!take_plain(text, low) || text.empty() || text[0] != ',') return false;
  text.remove_prefix(1);
  return plain(text, high);
}

// The plan of the call, or false when it does not follow the usage line.
bool read_call(int argc, char** argv, regs::TaskPlan& plan) {
  if (argc < 5) return false;
  bool named = false;
  for (std::size_t i = 0; i < std::size(regs::ShapeNames); ++i)
    if (std::strcmp(argv[1], regs::ShapeNames[i]) == 0)
      plan.shape = static_cast<regs::Shape>(i), named = true;
  long long seed = 0, degree = 0;
  if (!named || !plain(argv[2], plan.nodes) || !plain(argv[3], plan.registers) || !plain(argv[4], seed) ||
      seed < 0 || seed > 4294967295)
    return false;
  plan.seed = static_cast<std::uint32_t>(seed);
  for (int i = 5; i < argc; ++i) {
    const std::string_view option = argv[i];
    const std::size_t equals = option.find('=');
    const std::string_view name = option.substr(0, equals), value = option.substr(equals + 1);
    if (equals == std::string_view::npos) return false;
    if (name == "--degree" && plain(value, degree))
      plan.degree = degree;
    else if (!(name == "--costs" && plain_pair(value, plan.cost_low, plan.cost_high)) &&
             !(name == "--load" && plain_pair(value, plan.load_low, plan.load_high)) &&
             !(name == "--store" && plain_pair(value, plan.store_low, plan.store_high)))
      return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
    return std::printf("brannik-gen %s\n", regs::Version) < 0;
  regs::TaskPlan plan;
  if (!read_call(argc, argv, plan)) return std::fputs(Usage, stderr), BadCall;
  std::string test;
  if (const char* reason = regs::generate_task(plan, test))
    return std::fprintf(stderr, "%s\n", reason), BadCall;

#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);  // a reader that has gone is a failed write, reported
#endif
  errno = 0;
  if (std::fwrite(test.data(), 1, test.size(), stdout) == test.size() && std::fclose(stdout) == 0) return 0;
  const int error = errno;
  std::fprintf(stderr, "cannot write the test: %s\n",
               error != 0 ? std::strerror(error) : "input/output error");
  return NotWritten;
}
