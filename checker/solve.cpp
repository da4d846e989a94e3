// The least cost of the register task: the fewest stored results over every
// schedule, found bottom-up, and the schedule that attains it.
#include "solve.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "regs.h"

namespace regs {

namespace {

// No schedule fits: more children than free registers somewhere below.
constexpr std::uint16_t Never = 0xFFFF;

// For every inner node v and every count r of free registers (0 to N) when
// v's evaluation begins: the fewest stores inside v's subtree that end with v
// held, and the fewest free registers that achieve that same count (its need).
//
// With r free, all K children sit in registers at v's step, so K <= r. A stored
// child is best evaluated first, with all r free, at one store more than its
// own count; the j-th held child (from 0) is evaluated while j held siblings
// occupy a register each. A held child given fewer registers than it needs for
// its count with r costs at least one store more, which storing it costs too
// and which frees a register for those after it; so a held child always gets
// what it needs, and the task is to hold as many as can meet their limits
// (j <= r - need): in decreasing order of need, hold each that still fits.
// Interleaving the children's subtrees does no better: a search over every
// schedule of every small tree, in the tests, finds none cheaper.
//
// A node's counts stop changing at some r (see fill), so its row keeps r from
// K to there only: a 10000-node tree with 100 registers takes a few rows' worth.
class Table {
 public:
  Table() : first(M + 1, 0), last(M + 1, 0) {}

  std::uint16_t stores_of(const Node* v, int r) const { return r < v->K ? Never : stores[at(v, r)]; }
  int need_of(const Node* v, int r) const { return needs[at(v, r)]; }

  // Fills v's row; its inner children's rows are filled already.
  void fill(const Node* v);

 private:
  std::size_t at(const Node* v, int r) const {
    return first[v->number] + std::min(r, last[v->number]) - v->K;
  }
  std::vector<std::size_t> first;  // a node's r = K in stores and needs
  std::vector<int> last;           // the r from which on nothing changes
  std::vector<std::uint16_t> stores;
  std::vector<std::uint8_t> needs;
};

// How v is evaluated with r free: its inner children held, in evaluation order,
// and those stored.
struct Plan {
  const Node* held[MaxChildren];
  const Node* stored[MaxChildren];
  int held_count = 0, stored_count = 0;
  int stores = 0;  // inside v's subtree, Never when nothing fits
};

Plan plan_of(const Table& t, const Node* v, int r) {
  Plan p;
  if (r < v->K) {
    p.stores = Never;
    return p;
  }
  const Node* order[MaxChildren];
  int n = 0;
  for (int i = 0; i < v->K; ++i) {
    const Node* c = v->children[i];
    if (c->K == 0) continue;  // loaded at the step, no register before it
    if (t.stores_of(c, r) == Never) {
      p.stores = Never;
      return p;
    }
    p.stores += t.stores_of(c, r);
    int j = n++;
    for (; j > 0 && t.need_of(order[j - 1], r) < t.need_of(c, r); --j) order[j] = order[j - 1];
    order[j] = c;
  }
  for (int i = 0; i < n; ++i) {
    if (t.need_of(order[i], r) <= r - p.held_count) {
      p.held[p.held_count++] = order[i];
    } else {
      p.stored[p.stored_count++] = order[i];
      ++p.stores;
    }
  }
  return p;
}

void Table::fill(const Node* v) {
  // From r = cap on, every inner child holds its best count with what it gets
  // in any position, so v's count no longer changes.
  int cap = v->K;
  for (int i = 0; i < v->K; ++i) {
    const Node* c = v->children[i];
    if (c->K != 0) cap = std::max(cap, need_of(c, N) + v->K - 1);
  }
  first[v->number] = stores.size();
  last[v->number] = std::min(cap, N);
  for (int r = v->K; r <= last[v->number]; ++r) {
    stores.push_back(static_cast<std::uint16_t>(plan_of(*this, v, r).stores));
    const bool same = r > v->K && stores.back() == stores.end()[-2];
    needs.push_back(same ? needs.back() : static_cast<std::uint8_t>(r));
  }
}

void append_line(std::string& text, long long a, int b, bool two) {
  char line[48];
  char* end = std::to_chars(line, line + 24, a).ptr;
  if (two) {
    *end++ = ' ';
    end = std::to_chars(end, line + sizeof line, b).ptr;
  }
  *end++ = '\n';
  text.append(line, end);
}

}  // namespace

int solve(std::string& answer, char* err) {
  if (root->K == 0) {
    fault_message({FaultKind::RootIsLeaf}, false, err, ErrSize);
    return 0;
  }
  Table t;
  long long total = 0;
  for (int number = M; number >= 1; --number) {
    const Node* v = node_map[number];
    if (v->K == 0) {
      total += C_l;
      continue;
    }
    total += v->cost;
    t.fill(v);
  }
  const long long stored = t.stores_of(root, N);
  total += stored * (static_cast<long long>(C_l) + C_s);

  // Depth first without recursion: a node's step follows its stored children's
  // subtrees, then its held children's, in the plan's order.
  struct Pending {
    const Node* node;
    int registers;  // free when its evaluation begins; -1: its subtree is done, write its step
    int keep;
  };
  std::vector<Pending> stack{{root, N, 1}};
  std::string text;
  text.reserve(16 * M);
  append_line(text, total, 0, false);
  while (!stack.empty()) {
    const Pending top = stack.back();
    stack.pop_back();
    if (top.registers < 0) {
      append_line(text, top.node->number, top.keep, true);
      continue;
    }
    const Plan p = plan_of(t, top.node, top.registers);
    stack.push_back({top.node, -1, top.keep});
    for (int j = p.held_count - 1; j >= 0; --j) stack.push_back({p.held[j], top.registers - j, 1});
    for (int j = p.stored_count - 1; j >= 0; --j) stack.push_back({p.stored[j], top.registers, 0});
  }
  answer = std::move(text);
  return 1;
}

int solve_task(LineReader& task, std::string& answer, Fault& fault) {
  char err[ErrSize];
  if (!read_task(task, err, &fault)) return 0;
  int solved = 0;
  try {
    solved = solve(answer, err);
  } catch (const std::bad_alloc&) {
    delete_data();
    throw;
  }
  delete_data();
  if (!solved) fault = {FaultKind::RootIsLeaf};
  return solved;
}

}  // namespace regs
