// Registers, accepted: the least cost, by recursion, one call a level for each
// of the reading, the needs and the schedule, so a chain of 10000 nodes goes
// 10000 calls deep. A node needs K registers, each stored child's need (the
// stored ones come first, with all its registers) and each held child's need
// plus the held siblings before it; children are taken in decreasing order of
// need and held while their need fits beside the ones held before. Storing a
// child that does not fit costs one store, which is all that holding it with
// fewer registers could save inside it, so this stores the fewest results.
#include <algorithm>
#include <iostream>
#include <vector>

struct Node {
  int number, k;
  long long cost = 0;
  std::vector<Node*> kids;
  int need = 0;
  std::vector<Node*> held, stored;
};

int registers, nodes, leaves;
long long load, store, stores, costs;
std::vector<Node> tree;

Node* read() {
  Node* v = &tree[nodes];
  v->number = ++nodes;
  std::cin >> v->k;
  if (v->k == 0) {
    ++leaves;
    return v;
  }
  std::cin >> v->cost;
  costs += v->cost;
  for (int i = 0; i < v->k; ++i) v->kids.push_back(read());
  return v;
}

void plan(Node* v) {
  std::vector<Node*> inner;
  for (Node* c : v->kids)
    if (c->k > 0) {
      plan(c);
      inner.push_back(c);
    }
  std::stable_sort(inner.begin(), inner.end(), [](Node* a, Node* b) { return a->need > b->need; });
  v->need = v->k;
  for (Node* c : inner) {
    const int before = static_cast<int>(v->held.size());
    if (c->need <= registers - before) {
      v->held.push_back(c);
      v->need = std::max(v->need, c->need + before);
    } else {
      v->stored.push_back(c);
      ++stores;
      v->need = std::max(v->need, c->need);
    }
  }
}

void write(const Node* v, int keep) {
  for (const Node* c : v->stored) write(c, 0);
  for (const Node* c : v->held) write(c, 1);
  std::cout << v->number << ' ' << keep << '\n';
}

int main() {
  std::ios::sync_with_stdio(false);
  std::cin >> registers >> load >> store;
  tree.resize(10000);
  Node* root = read();
  plan(root);
  std::cout << costs + leaves * load + stores * (load + store) << '\n';
  write(root, 1);
  return 0;
}
