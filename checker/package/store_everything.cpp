// A wrong answer of the register task's package: every inner node is stored
// as soon as it is evaluated and loaded again by its parent, the root held.
// Each step then loads its K <= N operands into empty registers, so the
// schedule is always valid, and its claimed total is its cost; but it pays a
// store and a load wherever holding the result would do. Reads the task on
// standard input, writes the answer on standard output. Standard C++17, one
// file, as a judging system compiles a submission.
#include <iostream>
#include <vector>

// What the claim adds to the schedule's cost; the package's second wrong
// answer is this file with 1 here.
constexpr long long claim_error = 0;

int main() {
  std::ios::sync_with_stdio(false);
  long long registers = 0, load = 0, store = 0;
  if (!(std::cin >> registers >> load >> store)) return 1;

  struct Open {
    int number;
    int children_left;
  };
  std::vector<Open> path;  // the inner nodes begun and not yet evaluated
  std::vector<int> steps;  // post-order: each node after its children
  long long total = 0;
  int nodes = 0;
  do {
    int k = 0;
    if (!(std::cin >> k) || k < 0) return 1;
    ++nodes;
    if (k > 0) {
      long long cost = 0;
      if (!(std::cin >> cost)) return 1;
      total += cost;
      path.push_back({nodes, k});
      continue;
    }
    if (path.empty()) break;  // a leaf root: no step can evaluate it
    total += load;            // the leaf, loaded by its parent
    while (!path.empty() && --path.back().children_left == 0) {
      steps.push_back(path.back().number);
      path.pop_back();
      if (!path.empty()) total += store + load;  // stored, loaded by the parent
    }
  } while (!path.empty());

  std::cout << total + claim_error << '\n';
  for (std::size_t i = 0; i < steps.size(); ++i)
    std::cout << steps[i] << (i + 1 < steps.size() ? " 0\n" : " 1\n");
  return std::cout.flush() ? 0 : 1;
}
