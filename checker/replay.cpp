// The replay of an answer on the model machine, step by step.
#include "replay.h"

namespace regs {

Trace::Trace() {
  steps.reserve(MaxNodes + 2);  // line 1, a step per inner node, one step rejected
  task.K.reserve(MaxNodes);
  task.cost.reserve(MaxNodes);
}

namespace {

// A replay that nobody follows: every record of a line is left out.
struct Unfollowed {
  void operator()(const Step&) const {}
};

// A replay followed for brannik-trace: every line it examined, as far as it got.
struct Follower {
  std::vector<Step>& steps;
  void operator()(const Step& step) const { steps.push_back(step); }
};

// The replay, line by line. Each line's record is handed to `follow` once,
// when the line is done or rejected; unfollowed, the records cost nothing.
template <typename Follow>
int replay(LineReader& file, long long& claimed_cost, long long& total, Fault& fault, Follow follow) {
  Step step;
  const auto reject = [&](FaultKind kind) {
    follow(step);
    return fail(fault, kind, step.line);
  };

  // Totals stay within 10000 steps of 32-bit amounts, far inside 64 bits, so
  // they are exact; a claim saturated at the 64-bit limits can never match.
  total = 0;
  int line = 0;
  const auto claim = read_number(file, line);
  step.line = line;
  if (!claim) return reject(FaultKind::SyntaxError);
  claimed_cost = *claim;
  step.reached = Step::Done;
  follow(step);

  int free_registers = N;
  while (next_line(file, line)) {
    step = Step();
    step.line = line;
    const char* p = buffer;
    const auto number = scan_i(p);
    const auto keep = number ? scan_i(p) : std::nullopt;
    if (!keep) return reject(FaultKind::SyntaxError);
    if (*number < 1 || *number > M || (*keep != 0 && *keep != 1)) return reject(FaultKind::ValueOutOfRange);

    Node* node = node_map[*number];
    step.reached = Step::Named;
    step.node = node->number;
    step.keep = static_cast<unsigned char>(*keep);
    if (node->K == 0) return reject(FaultKind::EvaluatingLeaf);
    if (node->evaluated) return reject(FaultKind::Reevaluating);
    for (int i = 0; i < node->K; ++i) {
      const Node* child = node->children[i];
      if (child->K != 0 && !child->evaluated) return reject(FaultKind::UnevaluatedChildren);
      if (child->K == 0 || child->stored) {  // a load from memory
        total += C_l;
        --free_registers;
        step.loaded |= 1 << i;
      }
    }
    step.reached = Step::Loaded;
    step.in_use_loaded = N - free_registers;
    if (free_registers < 0) return reject(FaultKind::TooManyRegisters);

    node->evaluated = 1;
    total += node->cost;
    if (*keep == 1) {
      node->stored = 0;
      free_registers += node->K - 1;  // the result keeps one operand register
    } else {
      node->stored = 1;
      free_registers += node->K;
      total += C_s;
    }
    step.reached = Step::Done;
    step.in_use = N - free_registers;
    step.total = total;
    follow(step);
  }
  if (!root->evaluated || root->stored) return fail(fault, FaultKind::RootNotComputed);
  if (claimed_cost != total) {
    fault = {FaultKind::IncorrectTotal, 0, {claimed_cost, total}};
    return 0;
  }
  return 1;
}

}  // namespace

int replay_answer(LineReader& file, char* err, long long& claimed_cost, long long& total, Fault* fault,
                  Trace* trace) {
  Fault found;
  int ok;
  if (trace) {
    trace->steps.clear();
    task_from_tree(trace->task);
    ok = replay(file, claimed_cost, total, found, Follower{trace->steps});
  } else {
    ok = replay(file, claimed_cost, total, found, Unfollowed{});
  }
  if (file.failed()) ok = fail(found, FaultKind::FailedOpening);
  return reading_result(ok, found, err, fault);
}

void clear_evaluated() {
  for (int i = 1; i <= M; ++i) node_map[i]->evaluated = 0;
}

}  // namespace regs
