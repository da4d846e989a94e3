// An answer's replay shown step by step: the jury's table and the tree's picture.
#include "trace.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "output.h"

namespace regs {

namespace {

// The recorded tree by node number (from 1): each node's children in order,
// rising from left to right, and its parent (0 for the root).
struct Links {
  std::vector<std::vector<int>> children;
  std::vector<int> parent;
};

Links links_of(const Trace& trace) {
  const auto by_index = children_of(trace.task);
  Links tree{std::vector<std::vector<int>>(by_index.size() + 1), std::vector<int>(by_index.size() + 1, 0)};
  for (std::size_t v = 0; v < by_index.size(); ++v)
    for (const int c : by_index[v]) {
      tree.children[v + 1].push_back(c + 1);
      tree.parent[c + 1] = static_cast<int>(v + 1);
    }
  return tree;
}

// The line the replay rejected, when the fault lies in a line rather than
// at the end of the answer.
const Step* step_at_fault(const Judgement& j, const Trace& trace) {
  if (j.verdict != Verdict::Rejected || trace.steps.empty() || trace.steps.back().reached == Step::Done)
    return nullptr;
  return &trace.steps.back();
}

std::string numbers(const std::vector<int>& list) {
  std::string text;
  for (int n : list) {
    if (!text.empty()) text += ' ';
    text += std::to_string(n);
  }
  return text.empty() ? "-" : text;
}

constexpr int Columns = 8;
using Cells = std::array<std::string, Columns>;
const Cells Header = {"line", "node", "step", "loads", "held", "regs loaded", "regs after", "total"};
constexpr bool RightAligned[Columns] = {true, true, false, false, false, true, true, true};

struct TableRow {
  Cells cells;
  std::string fault;
};

TableRow row_of(const Step& step, const Judgement& j, const std::vector<std::vector<int>>& children) {
  TableRow row;
  Cells& c = row.cells;
  c[0] = std::to_string(step.line);
  if (step.line == 1 && step.reached == Step::Done) c[2] = "claim " + std::to_string(j.claimed);
  if (step.node != 0) {
    c[1] = std::to_string(step.node);
    c[2] = step.keep ? "hold" : "store";
  }
  if (step.reached >= Step::Loaded && step.node != 0) {
    std::vector<int> loads, held;
    const std::vector<int>& operands = children[step.node];
    for (std::size_t i = 0; i < operands.size(); ++i)
      (step.loaded >> i & 1 ? loads : held).push_back(operands[i]);
    c[3] = numbers(loads);
    c[4] = numbers(held);
    c[5] = std::to_string(step.in_use_loaded);
  }
  if (step.reached == Step::Done) {
    c[6] = std::to_string(step.in_use);
    c[7] = std::to_string(step.total);
  }
  return row;
}

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
  char text[512];
  std::va_list args;
  va_start(args, pattern);
  std::vsnprintf(text, sizeof text, pattern, args);
  va_end(args);
  return text;
}

}  // namespace

std::string trace_table(const Judgement& j, const Trace& trace) {
  const std::string verdict = verdict_line(j).text;
  if (j.verdict != Verdict::Accepted && j.verdict != Verdict::Rejected) return verdict;

  const auto children = links_of(trace).children;
  std::vector<TableRow> rows = {{Header, ""}};
  for (const Step& step : trace.steps) rows.push_back(row_of(step, j, children));
  if (step_at_fault(j, trace))
    rows.back().fault = j.message;
  else if (j.verdict == Verdict::Rejected)
    rows.push_back({{trace.steps.empty() ? "open" : "end"}, j.message});

  std::size_t width[Columns] = {};
  for (const TableRow& row : rows)
    for (int c = 0; c < Columns; ++c) width[c] = std::max(width[c], row.cells[c].size());
  // No parameters when the answer could not be opened: the replay never began.
  const Task& task = trace.task;
  std::string text = task.K.empty() ? ""
                                    : format("registers %d, load cost %d, store cost %d, %zu nodes\n", task.N,
                                             task.C_l, task.C_s, task.K.size());
  for (const TableRow& row : rows) {
    std::string line;
    for (int c = 0; c < Columns; ++c) {
      const std::string pad(width[c] - row.cells[c].size(), ' ');
      line += (c ? "  " : "") + (RightAligned[c] ? pad + row.cells[c] : row.cells[c] + pad);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    if (!row.fault.empty()) line += "  <-- " + row.fault;
    text += line + "\n";
  }
  return text + verdict;
}

namespace {

enum State { NotEvaluated, Held, Stored, AtFault, Leaf };
constexpr const char* Fill[] = {"#ffffff", "#8fd18f", "#8fb8e8", "#e5484d", "#b0b0b0"};
constexpr const char* Meaning[] = {"not evaluated", "held in a register", "stored to memory", "step at fault",
                                   "leaf"};

}  // namespace

std::string trace_svg(const Judgement& j, const Trace& trace) {
  const auto [children, parent] = links_of(trace);
  const int m = static_cast<int>(trace.task.K.size());
  std::vector<State> state(m + 1, NotEvaluated);
  std::vector<int> line(m + 1, 0);
  for (int i = 1; i <= m; ++i)
    if (children[i].empty()) state[i] = Leaf;
  for (const Step& step : trace.steps)
    if (step.reached == Step::Done && step.node != 0) {
      state[step.node] = step.keep ? Held : Stored;
      line[step.node] = step.line;
    }
  if (const Step* fault = step_at_fault(j, trace); fault && fault->node != 0) {
    state[fault->node] = AtFault;
    line[fault->node] = fault->line;
  }

  // Leaves side by side in pre-order, which is their order from the left; an
  // inner node midway above its outer children, each level a row lower.
  constexpr int Dx = 44, Dy = 64, Margin = 30, Top = 90;
  std::vector<int> x(m + 1, 0), depth(m + 1, 0);
  int leaves = 0, deepest = 0;
  for (int i = 1; i <= m; ++i) {
    if (i > 1) depth[i] = depth[parent[i]] + 1;
    deepest = std::max(deepest, depth[i]);
    if (children[i].empty()) x[i] = Margin + Dx * leaves++;
  }
  for (int i = m; i >= 1; --i)
    if (!children[i].empty()) x[i] = (x[children[i].front()] + x[children[i].back()]) / 2;
  const auto y = [&](int i) { return Top + Dy * depth[i]; };
  const int width = std::max(2 * Margin + Dx * std::max(leaves - 1, 0), 700);
  const int height = Top + Dy * deepest + 40;

  std::string svg = format(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
      "font-family=\"sans-serif\">\n<rect width=\"100%%\" height=\"100%%\" fill=\"#ffffff\"/>\n",
      width, height, width, height);
  svg += "<text x=\"10\" y=\"20\" font-size=\"14\">" + xml_escaped(verdict_line(j).words()) + "</text>\n";
  for (int s = 0; s < 5; ++s)
    svg += format(
        "<rect x=\"%d\" y=\"32\" width=\"12\" height=\"12\" fill=\"%s\" stroke=\"#000000\"/>"
        "<text x=\"%d\" y=\"43\" font-size=\"11\">%s</text>\n",
        10 + 135 * s, Fill[s], 27 + 135 * s, Meaning[s]);
  for (int i = 2; i <= m; ++i)
    svg += format("<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#606060\"/>\n", x[parent[i]],
                  y(parent[i]), x[i], y(i));
  for (int i = 1; i <= m; ++i) {
    if (children[i].empty()) {  // a leaf, at fault when a step names it
      svg += format(
          "<rect x=\"%d\" y=\"%d\" width=\"10\" height=\"10\" fill=\"%s\" stroke=\"#000000\"/>"
          "<text x=\"%d\" y=\"%d\" font-size=\"9\" text-anchor=\"middle\">%d</text>\n",
          x[i] - 5, y(i) - 5, Fill[state[i]], x[i], y(i) + 17, i);
      continue;
    }
    svg += format(
        "<circle cx=\"%d\" cy=\"%d\" r=\"14\" fill=\"%s\" stroke=\"#000000\"/>"
        "<text x=\"%d\" y=\"%d\" font-size=\"11\" text-anchor=\"middle\">%d</text>\n",
        x[i], y(i), Fill[state[i]], x[i], y(i) + 4, i);
    if (line[i])
      svg += format(
          "<text x=\"%d\" y=\"%d\" font-size=\"9\" text-anchor=\"middle\" stroke=\"#ffffff\" "
          "stroke-width=\"3\" paint-order=\"stroke\">line %d</text>\n",
          x[i], y(i) + 25, line[i]);
  }
  return svg + "</svg>\n";
}

}  // namespace regs
