// Registers, too slow: right answers by search. For s = 0, 1, 2, ... it tries
// every set of s inner nodes to store (the root is always held) and takes the
// first set with which the tree fits the registers: with the stored set
// fixed, a node needs K registers, each stored child's need (those are
// evaluated first, with all registers free) and each held child's need plus
// the held siblings before it, children in decreasing order of need. The
// least cost follows, exactly; but with I inner nodes and s stores there are
// I choose s sets to try, and a tree of thousands of nodes that needs a few
// stores takes longer than any time limit.
#include <algorithm>
#include <iostream>
#include <vector>

int n;
std::vector<int> k;
std::vector<std::vector<int>> kids;
std::vector<char> is_stored;
std::vector<int> need;

bool fits() {
  for (int v = static_cast<int>(k.size()) - 1; v >= 0; --v) {
    if (k[v] == 0) continue;
    std::vector<int> held;
    int peak = k[v];
    for (int c : kids[v]) {
      if (k[c] == 0) continue;
      if (is_stored[c])
        peak = std::max(peak, need[c]);
      else
        held.push_back(need[c]);
    }
    std::sort(held.rbegin(), held.rend());
    for (int j = 0; j < static_cast<int>(held.size()); ++j) peak = std::max(peak, held[j] + j);
    need[v] = peak;
  }
  return need[0] <= n;
}

// Every way to choose `left` more of candidates[from..] to store.
bool choose(const std::vector<int>& candidates, int from, int left) {
  if (left == 0) return fits();
  for (int i = from; i + left <= static_cast<int>(candidates.size()); ++i) {
    is_stored[candidates[i]] = 1;
    if (choose(candidates, i + 1, left - 1)) return true;
    is_stored[candidates[i]] = 0;
  }
  return false;
}

int main() {
  std::ios::sync_with_stdio(false);
  long long load = 0, store = 0;
  if (!(std::cin >> n >> load >> store)) return 1;
  std::vector<long long> cost;
  std::vector<int> open;  // inner nodes still owed children
  for (int count; std::cin >> count;) {
    const int v = static_cast<int>(k.size());
    k.push_back(count);
    cost.push_back(0);
    kids.emplace_back();
    if (!open.empty()) {
      kids[open.back()].push_back(v);
      if (static_cast<int>(kids[open.back()].size()) == k[open.back()]) open.pop_back();
    }
    if (count > 0) {
      std::cin >> cost[v];
      open.push_back(v);
    }
    if (open.empty()) break;
  }
  const int m = static_cast<int>(k.size());
  is_stored.assign(m, 0);
  need.assign(m, 0);
  std::vector<int> candidates;
  long long total = 0;
  for (int v = 0; v < m; ++v) {
    total += k[v] > 0 ? cost[v] : load;
    if (v > 0 && k[v] > 0) candidates.push_back(v);
  }
  int stores = 0;
  while (!choose(candidates, 0, stores)) ++stores;  // leaves the set found, and its needs

  std::cout << total + stores * (load + store) << '\n';
  // Each node after its stored children's subtrees, then its held ones' in
  // decreasing order of need.
  struct Visit {
    int node;
    bool expanded;
  };
  std::vector<Visit> stack{{0, false}};
  while (!stack.empty()) {
    const Visit top = stack.back();
    stack.pop_back();
    const int v = top.node;
    if (top.expanded) {
      std::cout << v + 1 << ' ' << (is_stored[v] ? 0 : 1) << '\n';
      continue;
    }
    std::vector<int> order;
    for (int c : kids[v])
      if (k[c] > 0) order.push_back(c);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      return is_stored[a] != is_stored[b] ? is_stored[a] > is_stored[b] : need[a] > need[b];
    });
    stack.push_back({v, true});
    for (auto c = order.rbegin(); c != order.rend(); ++c) stack.push_back({*c, false});
  }
  return 0;
}
