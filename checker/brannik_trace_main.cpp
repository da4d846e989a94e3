// brannik-trace: replays an answer of the register task step by step for the
// jury: brannik-trace <input> <answer> [--svg <file>].
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "brannik_version.h"
#include "descriptors.h"
#include "judge.h"
#include "trace.h"

namespace {

constexpr int InputUnusable = 1;
constexpr int NotJudged = 2;  // could not judge, or could not write what was asked

int trace(const char* task, const char* answer, const char* svg_path) {
  regs::Trace trace;
  const regs::Judgement j = regs::judge(task, answer, nullptr, &trace);
  if (!regs::write_all(stdout, regs::trace_table(j, trace).c_str())) return NotJudged;
  if (j.verdict == regs::Verdict::InputUnusable) return InputUnusable;
  if (j.verdict == regs::Verdict::CouldNotJudge) return NotJudged;
  if (!svg_path) return 0;

  if (trace.parent.empty()) {  // the answer could not be opened
    std::fputs("brannik-trace: no replay: the tree is not drawn\n", stderr);
    return 0;
  }
  const std::size_t nodes = trace.parent.size() - 1;
  if (nodes > regs::MaxDrawnNodes) {
    std::fprintf(stderr, "brannik-trace: %zu nodes, more than %d: the tree is not drawn\n", nodes,
                 regs::MaxDrawnNodes);
    return 0;
  }
  std::FILE* file = std::fopen(svg_path, "w");
  const bool written = file && regs::write_all(file, regs::trace_svg(j, trace).c_str());
  if (file && std::fclose(file) != 0) file = nullptr;
  if (written && file) return 0;
  std::fprintf(stderr, "brannik-trace: cannot write %s\n", svg_path);
  return NotJudged;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
    return std::printf("brannik-trace %s\n", regs::Version) < 0;
  const bool svg = argc == 5 && std::strcmp(argv[3], "--svg") == 0;
  if (argc != 3 && !svg) {
    std::fputs("usage: brannik-trace <input> <answer> [--svg <file>]\n", stderr);
    return NotJudged;
  }
  const int closed = regs::reopen_standard_descriptors();
  if (closed < 0 || closed & 1 << STDOUT_FILENO) return NotJudged;  // the trace would reach nobody
  try {
    return trace(argv[1], argv[2], svg ? argv[4] : nullptr);
  } catch (const std::bad_alloc&) {
    std::fputs("Error in checker: out of memory\n", stderr);
    return NotJudged;
  }
}
