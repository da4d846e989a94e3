// The command lines of the checker family's programs.
#include "args.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string_view>

#include "regs.h"

namespace regs {

namespace {

int usage(char* err, const char* line) { return refuse(err, "%s", line); }

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

// A plain whole number from low to high.
bool plain_within(std::string_view text, long long low, long long high, long long& value) {
  long long read = 0;
  if (!plain(text, read) || read < low || read > high) return false;
  value = read;
  return true;
}

// A plain decimal above 0 or 0 itself, with at most nine decimals after a point.
bool take_decimal(std::string_view& text, double& value) {
  long long whole = 0, fraction = 0, scale = 1;
  if (text.empty() || text[0] == '-' || !take_plain(text, whole)) return false;
  if (!text.empty() && text[0] == '.') {
    text.remove_prefix(1);
    std::size_t digits = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
      if (digits == 9) return false;
      fraction = fraction * 10 + (text[digits] - '0');
      scale *= 10;
    }
    if (digits == 0) return false;
    text.remove_prefix(digits);
  }
  value = static_cast<double>(whole) + static_cast<double>(fraction) / static_cast<double>(scale);
  return true;
}

// A decimal from low to high, nothing else in text.
bool decimal_within(std::string_view text, double low, double high, double& value) {
  double read = 0;
  if (!take_decimal(text, read) || !text.empty() || read < low || read > high) return false;
  value = read;
  return true;
}

// "LO,HI"
bool plain_pair(std::string_view text, long long& low, long long& high) {
  if (!take_plain(text, low) || text.empty() || text[0] != ',') return false;
  text.remove_prefix(1);
  return plain(text, high);
}

}  // namespace

bool asks_version(int argc, char** argv) { return argc == 2 && std::strcmp(argv[1], "--version") == 0; }

bool read_seed(const char* text, std::uint32_t& seed) {
  long long value = 0;
  if (!plain_within(text, 0, 4294967295, value)) return false;
  seed = static_cast<std::uint32_t>(value);
  return true;
}

bool read_seconds(std::string_view text, double& seconds) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  return decimal_within(text, 0, 1e9, seconds);
}

int read_gen_call(int argc, char** argv, TaskPlan& plan, char* err) {
  constexpr const char* Usage =
      "usage: brannik-gen random|chain|complete|comb|full <nodes> <N> <seed> [--degree=K] [--costs=LO,HI] "
      "[--load=LO,HI] [--store=LO,HI]";
  if (argc < 5) return usage(err, Usage);
  bool named = false;
  for (std::size_t i = 0; i < std::size(ShapeNames); ++i)
    if (std::strcmp(argv[1], ShapeNames[i]) == 0) plan.shape = static_cast<Shape>(i), named = true;
  if (!named || !plain(argv[2], plan.nodes) || !plain(argv[3], plan.registers) ||
      !read_seed(argv[4], plan.seed))
    return usage(err, Usage);
  for (int i = 5; i < argc; ++i) {
    const std::string_view option = argv[i];
    const std::size_t equals = option.find('=');
    if (equals == std::string_view::npos) return usage(err, Usage);
    const std::string_view name = option.substr(0, equals), value = option.substr(equals + 1);
    long long degree = 0;
    if (name == "--degree" && plain(value, degree))
      plan.degree = degree;
    else if (!(name == "--costs" && plain_pair(value, plan.cost_low, plan.cost_high)) &&
             !(name == "--load" && plain_pair(value, plan.load_low, plan.load_high)) &&
             !(name == "--store" && plain_pair(value, plan.store_low, plan.store_high)))
      return usage(err, Usage);
  }
  return 1;
}

int read_testlib_call(int argc, char** argv, const char* form, TestlibCall& call, char* err) {
  constexpr const char* Usage =
      "usage: brannik-testlib [--testset <name>] [--group <name>] [--score <form>] <input> <output> <answer> "
      "[<result-file> [-appes]]";
  const char* files[5] = {};
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--score") == 0)
      form = ++i < argc ? argv[i] : "";
    else if (std::strcmp(argv[i], "--testset") == 0 || std::strcmp(argv[i], "--group") == 0)
      ++i;
    else if (count++ < 5)
      files[count - 1] = argv[i];
  }
  call.result = count > 3 ? files[3] : nullptr;
  call.xml = count > 4 && std::strcmp(files[4], "-appes") == 0;
  if (count < 3 || count > 5 || (count == 5 && !call.xml)) return usage(err, Usage);
  call.input = files[0];
  call.output = files[1];
  call.answer = files[2];
  return read_score_form(form, call.form, err);
}

int read_kattis_call(int argc, char** argv, const char* form, KattisCall& call, char* err) {
  constexpr const char* Usage =
      "usage: brannik-kattis <input> <answer> <feedback_dir> [--score <form>] [--points <P>] < <team output>";
  call.feedback = argc > 3 ? argv[3] : nullptr;
  if (argc < 4) return usage(err, Usage);
  call.input = argv[1];
  call.answer = argv[2];
  if (!read_score_form(form, call.form, err)) return 0;
  // Flags of other validators, which a system may pass, are passed over.
  for (int i = 4; i < argc; ++i) {
    const bool score = std::strcmp(argv[i], "--score") == 0, points = std::strcmp(argv[i], "--points") == 0;
    if (!score && !points) continue;
    const char* value = ++i < argc ? argv[i] : "";
    if (score && !read_score_form(value, call.form, err)) return 0;
    if (points && !(decimal_within(value, 0, 1e6, call.points) && call.points > 0)) return usage(err, Usage);
  }
  return 1;
}

int read_trace_call(int argc, char** argv, TraceCall& call, char* err) {
  const bool svg = argc == 5 && std::strcmp(argv[3], "--svg") == 0;
  if (argc != 3 && !svg) return usage(err, "usage: brannik-trace <input> <answer> [--svg <file>]");
  call = {argv[1], argv[2], svg ? argv[4] : nullptr};
  return 1;
}

int read_cms_call(int argc, char** argv, CmsCall& call, char* err) {
  if (argc < 4) return usage(err, "usage: brannik-cms <input> <correct_output> <contestant_output>");
  call = {argv[1], argv[2], argv[3]};
  return 1;
}

int read_stress_call(int argc, char** argv, StressCall& call, char* err) {
  constexpr const char* Usage =
      "usage: brannik-stress [--seed=S] [--budget=SECONDS] [--max-nodes=M] [--time-limit=SECONDS] "
      "[--memory=MIB] [-o FILE] -- <command...>";
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    const std::string_view option = argv[i];
    const std::size_t equals = option.find('=');
    const std::string_view name = option.substr(0, equals);
    const std::string_view value = equals == option.npos ? "" : option.substr(equals + 1);
    long long number = 0;
    if (option == "-o" && i + 1 < argc)
      call.file = argv[++i];
    else if (name == "--max-nodes" && plain_within(value, 2, MaxNodes, number))
      call.options.max_nodes = static_cast<int>(number);
    else if (name == "--memory" && plain_within(value, 1, 1048576, number))
      call.options.memory_mib = static_cast<long>(number);
    else if (!(name == "--seed" && read_seed(std::string(value).c_str(), call.options.seed)) &&
             !(name == "--budget" && decimal_within(value, 0, 1e9, call.options.budget)) &&
             !(name == "--time-limit" && decimal_within(value, 0.001, 1e6, call.options.time_limit)))
      return usage(err, Usage);
  }
  call.command.assign(argv + std::min(i + 1, argc), argv + argc);
  if (call.command.empty()) return usage(err, Usage);
  return 1;
}

int read_report_call(int argc, char** argv, ReportCall& call, char* err) {
  const bool plan = argc > 2 && std::strcmp(argv[1], "--plan") == 0;
  const int first = plan ? 3 : 1;
  long long memory = 0;
  if (argc - first != 3 || !plain_within(argv[first + 2], 1, 1 << 30, memory))
    return usage(err, "usage: brannik-report [--plan <file>] <package-dir> <programs-dir> <memory-MiB>");
  call = {argv[first], argv[first + 1], static_cast<long>(memory), plan ? argv[2] : ""};
  return 1;
}

int read_mutants_call(int argc, char** argv, MutantsCall& call, char* err) {
  constexpr const char* Usage =
      "usage: brannik-mutants [--budget=SECONDS] [--jobs=J] [--limit=N] [--lines=A-B] [--seed=S] [-o REPORT] "
      "<package-dir> "
      "[<solution.cpp>]";
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    const std::size_t equals = option.find('=');
    const std::string_view name = option.substr(0, equals);
    const std::string_view value = equals == option.npos ? "" : option.substr(equals + 1);
    long long jobs = 0;
    const std::size_t dash = value.find('-');
    if (name == "--lines" && dash != value.npos &&
        plain_within(value.substr(0, dash), 1, 1LL << 40, call.first_line) &&
        plain_within(value.substr(dash + 1), call.first_line, 1LL << 40, call.last_line))
      continue;
    if (option == "-o" && i + 1 < argc)
      call.report = argv[++i];
    else if (name == "--jobs" && plain_within(value, 1, 256, jobs))
      call.jobs = static_cast<int>(jobs);
    else if (option.empty() || option[0] != '-')
      files.emplace_back(option);
    else if (!(name == "--budget" && decimal_within(value, 0, 1e9, call.budget)) &&
             !(name == "--limit" && plain_within(value, 0, 1LL << 40, call.limit)) &&
             !(name == "--seed" && read_seed(std::string(value).c_str(), call.seed)))
      return usage(err, Usage);
  }
  if (files.empty() || files.size() > 2) return usage(err, Usage);
  call.package = files[0];
  call.solution = files.size() == 2 ? files[1] : call.package + "/submissions/accepted/brannik-solve.cpp";
  return 1;
}

}  // namespace regs
