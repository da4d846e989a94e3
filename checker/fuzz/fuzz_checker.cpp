// Drives the checker from memory: the input up to its first NUL byte is the
// task, the rest the answer. Beyond crashes, leaks and undefined behaviour it
// checks what the reader promises the replay, that an accepted answer's
// claim is the total that its steps cost, and that the strict validator
// accepts nothing that the reader rejects. The replay is run again, followed,
// on a fresh reading of the task: it must judge alike, and its trace must be
// shown and drawn.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "regs.h"
#include "replay.h"
#include "task_validate.h"
#include "trace.h"

namespace {

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

void require_message(const char* err) {
  const size_t length = strnlen(err, regs::ErrSize);
  require(length > 0 && length < 50, "one short message on failure");
}

void require_tree() {
  require(regs::N >= 1 && regs::N <= regs::MaxRegisters, "N within 1..100");
  require(regs::C_l >= 1 && regs::C_s >= 1, "C_l and C_s at least 1");
  require(regs::M >= 1 && regs::M <= regs::MaxNodes, "M within 1..10000");
  require(regs::root == regs::node_map[1], "root is node 1");
  for (int i = 1; i <= regs::M; ++i) {
    const regs::Node* node = regs::node_map[i];
    require(node->number == i, "node_map holds nodes by number");
    require(node->K >= 0 && node->K <= regs::MaxChildren && node->K <= regs::N,
            "K within 0..10 and at most N");
    require(node->evaluated == 0, "no node evaluated before the replay");
    for (int c = 0; c < node->K; ++c)
      require(node->children[c]->number > i && node->children[c]->number <= regs::M,
              "children numbered after their parent");
  }
}

// What an accepted answer costs, from the flags its replay left: every inner
// node's cost, a load of every leaf and every stored result, and the stores.
long long cost_of_flags() {
  long long total = 0;
  for (int i = 1; i <= regs::M; ++i) {
    const regs::Node* node = regs::node_map[i];
    if (node->K == 0) {
      total += regs::C_l;
      continue;
    }
    require(node->evaluated == 1, "every inner node evaluated");
    total += node->cost;
    if (node->stored) total += 0LL + regs::C_l + regs::C_s;
  }
  return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  char* text = reinterpret_cast<char*>(const_cast<std::uint8_t*>(data));
  const char* nul = static_cast<const char*>(std::memchr(text, 0, size));
  const std::size_t task_size = nul ? static_cast<std::size_t>(nul - text) : size;
  const std::size_t answer_size = nul ? size - task_size - 1 : 0;

  char err[regs::ErrSize];
  std::FILE* task = fmemopen(text, task_size, "r");
  const int valid = regs::validate_task(task, err);
  std::rewind(task);
  const int read = regs::read_task(task, err);
  std::fclose(task);
  require(!valid || read, "what the validator accepts, the reader reads");
  if (!read) {
    require_message(err);
    return 0;
  }
  require_tree();

  char* answer_text = text + task_size + (nul ? 1 : 0);
  std::FILE* answer = fmemopen(answer_text, answer_size, "r");
  long long claimed = 0, total = 0;
  const int accepted = regs::replay_answer(answer, err, claimed, total);
  if (accepted) {
    require(!regs::root->stored, "the root held");
    require(claimed == cost_of_flags(), "an accepted claim is the answer's cost");
  } else {
    require_message(err);
  }
  std::fclose(answer);
  regs::delete_data();

  static regs::Trace trace;
  regs::Judgement j;
  j.verdict = regs::Verdict::Rejected;
  task = fmemopen(text, task_size, "r");
  regs::read_task(task, j.message);
  std::fclose(task);
  answer = fmemopen(answer_text, answer_size, "r");
  if (regs::replay_answer(answer, j.message, j.claimed, j.total, &j.fault, &trace))
    j.verdict = regs::Verdict::Accepted;
  std::fclose(answer);
  regs::delete_data();
  require(j.verdict == (accepted ? regs::Verdict::Accepted : regs::Verdict::Rejected) &&
              (accepted || std::strcmp(j.message, err) == 0),
          "followed, the replay judges alike");
  require(!regs::trace_table(j, trace).empty(), "a table");
  if (regs::M <= regs::MaxDrawnNodes) require(!regs::trace_svg(j, trace).empty(), "a picture");
  return 0;
}
