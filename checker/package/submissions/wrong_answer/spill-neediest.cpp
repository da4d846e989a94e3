// Registers, a wrong answer: the registers a subtree needs are counted as if
// nothing in it were stored: K, and each inner child's count plus the siblings
// evaluated before it, children in decreasing order. Going down from the root
// with the registers free, where a node's children's counts do not fit, the
// neediest child is stored, then the next, until the rest fit. The schedule
// is valid, and the least where the counts fit; but a child whose count
// exceeds the registers is stored although, at the stores it makes inside
// anyway, it would also fit beside a held sibling with fewer registers, at no
// store more.
#include <algorithm>
#include <iostream>
#include <vector>

int main() {
  std::ios::sync_with_stdio(false);
  int registers = 0;
  long long load = 0, store = 0;
  if (!(std::cin >> registers >> load >> store)) return 1;

  std::vector<int> k, parent, owed;  // owed: children not yet read
  std::vector<long long> cost;
  std::vector<int> open;  // inner nodes still owed children
  for (int count; std::cin >> count;) {
    const int v = static_cast<int>(k.size());
    k.push_back(count);
    owed.push_back(count);
    cost.push_back(0);
    parent.push_back(open.empty() ? -1 : open.back());
    if (!open.empty() && --owed[open.back()] == 0) open.pop_back();
    if (count > 0) {
      std::cin >> cost[v];
      open.push_back(v);
    }
    if (open.empty()) break;
  }
  const int m = static_cast<int>(k.size());
  std::vector<std::vector<int>> inner(m);
  long long total = 0;
  for (int v = 0; v < m; ++v) {
    total += k[v] > 0 ? cost[v] : load;
    if (v > 0 && k[v] > 0) inner[parent[v]].push_back(v);
  }

  // The counts, bottom-up: in pre-order a node's children follow it.
  std::vector<int> need(m, 0);
  for (int v = m - 1; v >= 0; --v) {
    if (k[v] == 0) continue;
    std::stable_sort(inner[v].begin(), inner[v].end(), [&](int a, int b) { return need[a] > need[b]; });
    need[v] = k[v];
    for (int j = 0; j < static_cast<int>(inner[v].size()); ++j)
      need[v] = std::max(need[v], need[inner[v][j]] + j);
  }

  // Down from the root: a node with `free` registers stores its neediest
  // children until the others fit, evaluates the stored ones first with all
  // of them, then the held ones, each beside those held before it.
  struct Visit {
    int node, free, keep;
    bool expanded;
  };
  std::vector<Visit> stack{{0, registers, 1, false}};
  std::vector<int> steps, keeps;
  long long stores = 0;
  while (!stack.empty()) {
    const Visit top = stack.back();
    stack.pop_back();
    if (top.expanded) {
      steps.push_back(top.node);
      keeps.push_back(top.keep);
      continue;
    }
    const std::vector<int>& kids = inner[top.node];
    int spilled = 0;
    for (;; ++spilled) {
      bool fit = true;
      for (int j = spilled; j < static_cast<int>(kids.size()); ++j)
        if (need[kids[j]] + (j - spilled) > top.free) fit = false;
      if (fit) break;
    }
    stores += spilled;
    stack.push_back({top.node, top.free, top.keep, true});
    for (int j = static_cast<int>(kids.size()) - 1; j >= spilled; --j)
      stack.push_back({kids[j], top.free - (j - spilled), 1, false});
    for (int j = spilled - 1; j >= 0; --j) stack.push_back({kids[j], top.free, 0, false});
  }

  std::cout << total + stores * (load + store) << '\n';
  for (std::size_t i = 0; i < steps.size(); ++i) std::cout << steps[i] + 1 << ' ' << keeps[i] << '\n';
  return 0;
}
