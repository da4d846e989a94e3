// The command lines of the checker family's programs.
#include "args.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string_view>

#include "regs.h"

namespace regs {

namespace {

int usage(char* err, const char* line) {
  std::snprintf(err, ErrSize, "%s", line);
  return 0;
}

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

}  // namespace

bool asks_version(int argc, char** argv) { return argc == 2 && std::strcmp(argv[1], "--version") == 0; }

bool read_seed(const char* text, std::uint32_t& seed) {
  long long value = 0;
  if (!plain(text, value) || value < 0 || value > 4294967295) return false;
  seed = static_cast<std::uint32_t>(value);
  return true;
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
    char* end = nullptr;
    if (score && !read_score_form(value, call.form, err)) return 0;
    if (points && !(*value >= '0' && *value <= '9' && (call.points = std::strtod(value, &end)) > 0 &&
                    call.points <= 1e6 && *end == '\0'))
      return usage(err, Usage);
  }
  return 1;
}

int read_trace_call(int argc, char** argv, TraceCall& call, char* err) {
  const bool svg = argc == 5 && std::strcmp(argv[3], "--svg") == 0;
  if (argc != 3 && !svg) return usage(err, "usage: brannik-trace <input> <answer> [--svg <file>]");
  call = {argv[1], argv[2], svg ? argv[4] : nullptr};
  return 1;
}

}  // namespace regs
