// Registers, a wrong answer: the inner children of a node are evaluated in
// decreasing order of their leaves, each held when the registers left beside
// the siblings held before it cover its need and stored otherwise. Many
// leaves often mean many registers, so the schedule is mostly the least and
// always valid; but a bushy subtree with few levels needs fewer registers
// than a deep one with fewer leaves, and then the needy one comes too late.
#include <algorithm>
#include <iostream>
#include <vector>

int main() {
  std::ios::sync_with_stdio(false);
  int n = 0;
  long long load = 0, store = 0;
  if (!(std::cin >> n >> load >> store)) return 1;

  // The tree in pre-order: every node's children come after it, so walking
  // the nodes backwards meets each node after its children.
  std::vector<int> k;
  std::vector<long long> cost;
  std::vector<std::vector<int>> kids;
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

  // need[v]: the free registers v's evaluation takes with the fewest stores.
  std::vector<int> need(m, 0), leaves(m, 0);  // leaves: the leaves of v's subtree
  std::vector<std::vector<int>> held(m), stored(m);
  long long total = 0, stores = 0;
  for (int v = m - 1; v >= 0; --v) {
    if (k[v] == 0) {
      leaves[v] = 1;
      total += load;
      continue;
    }
    total += cost[v];
    for (int c : kids[v]) leaves[v] += leaves[c];
    std::vector<int> inner;
    for (int c : kids[v])
      if (k[c] > 0) inner.push_back(c);
    std::stable_sort(inner.begin(), inner.end(), [&](int a, int b) { return leaves[a] > leaves[b]; });
    int peak = k[v];
    for (int c : inner) {
      const int before = static_cast<int>(held[v].size());
      if (need[c] <= n - before) {
        held[v].push_back(c);
        peak = std::max(peak, need[c] + before);
      } else {
        stored[v].push_back(c);
        ++stores;
        peak = std::max(peak, need[c]);
      }
    }
    need[v] = peak;
  }
  total += stores * (load + store);

  // The schedule: a node's stored children's subtrees, then its held ones',
  // then the node; depth first with a stack of its own.
  std::cout << total << '\n';
  struct Visit {
    int node, keep;
    bool expanded;
  };
  std::vector<Visit> stack{{0, 1, false}};
  while (!stack.empty()) {
    Visit top = stack.back();
    stack.pop_back();
    if (top.expanded) {
      std::cout << top.node + 1 << ' ' << top.keep << '\n';
      continue;
    }
    stack.push_back({top.node, top.keep, true});
    for (auto c = held[top.node].rbegin(); c != held[top.node].rend(); ++c) stack.push_back({*c, 1, false});
    for (auto c = stored[top.node].rbegin(); c != stored[top.node].rend(); ++c)
      stack.push_back({*c, 0, false});
  }
  return 0;
}
