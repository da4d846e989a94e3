// A whole register task in memory: from and to its text, and its tree's shape.
#include "task.h"

#include <charconv>

#include "regs.h"

namespace regs {

Task task_of(std::string_view text) {
  LineReader lines(text);
  char err[ErrSize];
  if (!read_task(lines, err)) return {};
  Task task;
  task_from_tree(task);
  delete_data();
  return task;
}

void task_from_tree(Task& task) {
  task.N = N, task.C_l = C_l, task.C_s = C_s;
  task.K.resize(M);
  task.cost.resize(M);
  for (int i = 1; i <= M; ++i) {
    task.K[i - 1] = node_map[i]->K;
    task.cost[i - 1] = node_map[i]->K > 0 ? node_map[i]->cost : 0;
  }
}

std::string task_text(const Task& task) {
  // A node takes at most "10\n" and an 11-character cost with its line feed.
  std::string text(32 + 15 * task.K.size(), '\0');
  char* p = text.data();
  const auto put = [&p](long long value, char after) {
    p = std::to_chars(p, p + 11, value).ptr;
    *p++ = after;
  };
  put(task.N, '\n');
  put(task.C_l, ' ');
  put(task.C_s, '\n');
  for (std::size_t v = 0; v < task.K.size(); ++v) {
    put(task.K[v], '\n');
    if (task.K[v] > 0) put(task.cost[v], '\n');
  }
  text.resize(p - text.data());
  return text;
}

std::vector<std::vector<int>> children_of(const Task& task) {
  const int n = static_cast<int>(task.K.size());
  std::vector<std::vector<int>> children(n);
  std::vector<int> open;  // inner nodes still owed children
  for (int v = 0; v < n; ++v) {
    if (!open.empty()) {
      const int parent = open.back();
      children[parent].push_back(v);
      if (static_cast<int>(children[parent].size()) == task.K[parent]) open.pop_back();
    }
    if (task.K[v] > 0) open.push_back(v);
  }
  return children;
}

}  // namespace regs
