// brannik-trace's table and picture of a replay, from the library and from the built program.
#include "trace.h"

#include <gtest/gtest.h>

#include <string>

#include "cases.h"
#include "judge.h"
#include "support.h"
#include "worked_example.h"

namespace {

using support::WorkedIn;
using support::WorkedOut;

struct Traced {
  regs::Judgement j;
  std::string table;
};

// The judgement of out against in, followed by a trace unless told otherwise.
Traced trace_of(const std::string& in, const std::string& out, bool followed = true) {
  const support::ScratchDir dir;
  support::write_file(dir.path + "/in", in);
  support::write_file(dir.path + "/out", out);
  regs::Trace trace;
  const regs::Judgement j = regs::judge((dir.path + "/in").c_str(), (dir.path + "/out").c_str(), nullptr,
                                        followed ? &trace : nullptr);
  return {j, regs::trace_table(j, trace)};
}

TEST(Trace, TheAcceptedWorkedExampleStepByStep) {
  EXPECT_EQ(trace_of(WorkedIn, WorkedOut).table,
            "registers 2, load cost 1, store cost 3, 7 nodes\n"
            "line  node  step      loads  held  regs loaded  regs after  total\n"
            "   1        claim 11                                     0      0\n"
            "   2     2  store     3 4    -               2           0      6\n"
            "   3     5  hold      6 7    -               2           1      9\n"
            "   4     1  hold      2      5               2           1     11\n"
            "Success\n");
}

TEST(Trace, ShowsEachFaultWhereItIsFound) {
  const struct {
    std::string out;
    std::string row;  // the row marked at fault, up to the mark
    std::string message;
  } table[] = {
      {"11\n2 1\n5 1\n1 1\n", "   3     5  hold      6 7    -               3",
       "too many registers used at line 3"},
      {"11\n2 0\n5 1\n1 0\n", " end", "root node has not been computed properly"},
      {"12\n2 0\n5 1\n1 1\n", " end", "incorrect total cost"},
      {"11\n1 1\n5 1\n1 1\n", "   2     1  hold", "node has unevaluated children at line 2"},
      {"x\n", "   1", "syntax error at line 1"},
      {"11\n2 0\n4 1\n", "   3     4  hold", "evaluating leaf node at line 3"},
      {"11\n2 0\n2 0\n", "   3     2  store", "reevaluating node at line 3"},
      {"11\n8 1\n", "   2", "value out of range at line 2"},
  };
  for (const auto& row : table) {
    const Traced t = trace_of(WorkedIn, row.out);
    EXPECT_NE(t.table.find("\n" + row.row + "  <-- " + row.message + "\n"), std::string::npos) << t.table;
    EXPECT_EQ(t.table.find("<-- "), t.table.rfind("<-- ")) << "one fault only: " << t.table;
    // Followed or not, the replay judges alike, and the table ends with brannik's verdict line.
    const regs::Judgement plain = trace_of(WorkedIn, row.out, false).j;
    const std::string verdict = regs::verdict_line(plain).text;
    EXPECT_EQ(verdict, "Error in output file: " + row.message + "\n");
    EXPECT_EQ(t.table.substr(t.table.size() - verdict.size()), verdict);
  }
}

// The legend's meaning of the colour a node is drawn in: the fill of the
// shape on its label's line, named by the legend's square of that fill, which
// comes before the tree.
std::string drawn_as(const std::string& svg, int node) {
  const std::string number = std::to_string(node);
  const std::size_t label = svg.find(">" + number + "</text>");
  if (label == std::string::npos) return "";
  const std::size_t fill = svg.find("fill=", svg.rfind('\n', label));
  const std::size_t key = svg.find(svg.substr(fill, 14) + " stroke=\"#000000\"/><text");
  const std::size_t meaning = svg.find('>', svg.find("<text", key)) + 1;
  return svg.substr(meaning, svg.find("</text>", meaning) - meaning);
}

TEST(Trace, TheProgramDrawsTheTreeAndKeepsItsStatuses) {
  const cases::Case drawn = cases::wide(regs::MaxDrawnNodes),
                    too_large = cases::wide(regs::MaxDrawnNodes + 1);
  const struct {
    const char* name;
    std::string in, out, args;
    int status;
    std::string err;
    bool drawn = false;
    std::string states = "";  // each node but the leaves at peace, as the legend names its colour
    std::string before = "";  // what the command line starts with
  } table[] = {
      {"accepted", WorkedIn, WorkedOut, "in out --svg t.svg", 0, "", true,
       "1 held in a register, 2 stored to memory, 5 held in a register, "},
      {"rejected", WorkedIn, "11\n2 1\n5 1\n1 1\n", "in out --svg t.svg", 0, "", true,
       "1 not evaluated, 2 held in a register, 5 step at fault, "},
      {"a leaf at fault, the only node", "1\n1 1\n0\n", "0\n1 1\n", "in out --svg t.svg", 0, "", true,
       "1 step at fault, "},
      {"largest drawn", drawn.in, drawn.out, "in out --svg t.svg", 0, "", true},
      {"too large to draw", too_large.in, too_large.out, "in out --svg t.svg", 0,
       "brannik-trace: 201 nodes, more than 200: the tree is not drawn\n"},
      {"no answer", WorkedIn, WorkedOut, "in none --svg t.svg", 0,
       "brannik-trace: no replay: the tree is not drawn\n"},
      {"unusable input", "0\n", WorkedOut, "in out --svg t.svg", 1, ""},
      {"unwritable picture", WorkedIn, WorkedOut, "in out --svg nofolder/t.svg", 2,
       "brannik-trace: cannot write nofolder/t.svg: No such file or directory\n"},
      {"table into a pipe whose reader has gone", WorkedIn, WorkedOut, "in out", 2,
       "brannik-trace: cannot write the table: Broken pipe\n", false, "", support::IntoClosedPipe},
      {"bad call", WorkedIn, WorkedOut, "in out --png t.svg", 2,
       "usage: brannik-trace <input> <answer> [--svg <file>]\n"},
      {"standard output closed", WorkedIn, WorkedOut, "in out >&-", 2, ""},
  };
  for (const auto& row : table) {
    const support::ScratchDir dir;
    support::write_file(dir.path + "/in", row.in);
    support::write_file(dir.path + "/out", row.out);
    const auto o = support::run_shell(dir.path, row.before + "'" BRANNIK_TRACE "' " + row.args);
    EXPECT_EQ(o.status, row.status) << row.name;
    EXPECT_EQ(o.err, row.err) << row.name;
    if (!row.drawn) continue;
    const auto png = support::run_shell(dir.path, "rsvg-convert t.svg -o t.png && test -s t.png");
    EXPECT_EQ(png.status, 0) << row.name << ": " << png.err;
    const std::string svg = support::read_file(dir.path + "/t.svg");
    if (row.states.empty()) continue;
    std::string states;
    for (int node = 1; !drawn_as(svg, node).empty(); ++node)
      if (drawn_as(svg, node) != "leaf") states += std::to_string(node) + " " + drawn_as(svg, node) + ", ";
    EXPECT_EQ(states, row.states) << row.name << ": " << svg;
  }
}

}  // namespace
