// The validator: hand-made tests judged by the library, and quillot-validate end to end.
#include "fence_validate.h"

#include "fence_in.h"
#include "support.h"

using namespace quillot;

namespace {

std::string Judge(const std::string& text) {
  FenceTest test;
  const std::string violation = CheckFormat(text, test).text;
  return violation.empty() ? CheckFence(test).text : violation;
}

// What a violation concerns, as a picture draws it: the reference points, the
// vertices and the edges, by their numbers from 0.
std::string Concerns(const Violation& violation) {
  std::string what = std::string(violation.a ? "a " : "") + (violation.b ? "b " : "");
  for (const size_t j : violation.vertices) what += "vertex " + std::to_string(j) + " ";
  for (const size_t e : violation.edges) what += "edge " + std::to_string(e) + " ";
  return what;
}

// Each kind of violation, and the allowed cases nearest to one.
TEST(Validator, FindsTheFirstViolation) {
  const std::string head = "0 0 6 0\n";
  const struct {
    std::string text;
    const char* violation;  // "" when valid
    const char* concerns = "";
  } cases[] = {
      {head + "4\n1 1\n3 1\n3 -1\n1 -1\n", ""},
      {head + "5\n1 1\n2 1\n3 1\n3 -1\n1 -1\n", ""},  // collinear, going on the same way
      {"-2147483648 0 2147483647 0\n3\n-2147483647 1\n2147483646 -2147483648\n0 2147483647\n", ""},
      // The text.
      {"", "line 1: missing"},
      {"0 0 6 0", "line 1: no line feed at its end"},
      {"0  0 6 0\n", "line 1: number 2 missing"},
      {"0 0 6 0 \n", "line 1: more than 4 numbers"},
      {"0 0 6 0\r\n", "line 1: number 4 is not a plain decimal"},
      {"-0 0 6 0\n", "line 1: number 1 is not a plain decimal"},
      {"0 0 06 0\n", "line 1: number 3 is not a plain decimal"},
      {"0 0 2147483648 0\n", "line 1: number 3 is beyond 32 bits"},
      {"0 0 999999999999x 0\n", "line 1: number 3 is beyond 32 bits"},  // decided by its first 12 characters
      {"-21474836480 0 6 0\n", "line 1: number 1 is beyond 32 bits"},   // 11 characters are not enough
      {head + "2\n1 1\n3 1\n", "line 2: the vertex count is not from 3 to 30000"},
      {head + "30001\n", "line 2: the vertex count is not from 3 to 30000"},
      {head + "4\n1 1\n3 1\n", "line 5: missing"},
      {head + "4\n1 1\n3 1\n3 -1\n1 -1\n\n", "line 7: text after the last vertex"},
      // The reference points and the base line.
      {"0 1 6 0\n4\n1 1\n3 1\n3 -1\n1 -1\n", "line 1: a reference point is not on y = 0", "a "},
      {"0 0 6 -1\n4\n1 1\n3 1\n3 -1\n1 -1\n", "line 1: a reference point is not on y = 0", "b "},
      {head + "4\n1 1\n3 1\n3 0\n1 -1\n", "line 5: a vertex on y = 0", "vertex 2 "},
      {"1 0 6 0\n4\n1 1\n3 1\n3 -1\n1 -1\n", "line 3: a vertex not right of the first reference point",
       "a vertex 0 "},
      {"0 0 3 0\n4\n1 1\n3 1\n3 -1\n1 -1\n", "line 4: a vertex not left of the second reference point",
       "b vertex 1 "},
      // The polygon.
      {head + "4\n1 1\n3 -1\n3 1\n1 -1\n",  // crossing edges
       "the edge from line 3 to line 4 meets the edge from line 5 to line 6", "edge 0 edge 2 "},
      {head + "5\n1 2\n5 2\n5 -2\n3 2\n1 -2\n",  // a vertex on an edge
       "the edge from line 3 to line 4 meets the edge from line 6 to line 7", "edge 0 edge 3 "},
      {head + "4\n1 1\n4 1\n2 1\n2 -1\n",  // an edge back along its neighbour, onto the one before
       "the edge from line 3 to line 4 meets the edge from line 5 to line 6", "edge 0 edge 2 "},
      {head + "3\n1 1\n2 1\n3 1\n",  // each edge back along a neighbour
       "the edge from line 3 to line 4 meets the edge from line 5 to line 3", "edge 0 edge 2 "},
      {head + "5\n3 -1\n2 2\n1 1\n5 -1\n3 3\n",  // neighbours that only share their vertex, in either order
       "the edge from line 3 to line 4 meets the edge from line 5 to line 6", "edge 0 edge 2 "},
      {head + "3\n5 1\n1 1\n3 1\n",  // the second edge back along the first: the earlier named first
       "the edge from line 3 to line 4 meets the edge from line 4 to line 5", "edge 0 edge 1 "},
      {head + "4\n1 1\n1 1\n3 1\n3 -1\n", "lines 3 and 4: the same vertex", "vertex 0 vertex 1 "},
      {head + "6\n1 2\n2 1\n3 2\n3 -2\n2 1\n1 -2\n", "lines 4 and 7: the same vertex", "vertex 1 vertex 4 "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Judge(c.text), c.violation) << c.text;
    FenceTest test;
    if (CheckFormat(c.text, test).text.empty()) {
      EXPECT_EQ(Concerns(CheckFence(test)), c.concerns) << c.text;
    }
  }
}

class QuillotValidate : public support::InTempDir {};

// The Kattis statuses, the violation on standard output, a bounded read, and a
// standard input that cannot be read, which is no verdict.
TEST_F(QuillotValidate, JudgesStandardInput) {
  const std::string bowTie = "0 0 6 0\n4\n1 1\n3 -1\n3 1\n1 -1\n";
  std::string repeated = "0 0 6 0\n30000\n";
  for (int i = 0; i < 1 << 20; ++i) repeated += "1 1\n";
  // Every pair drawn around the rest: nearly all edges are candidates to meet.
  BuildFence(MaxN, false, [](int32_t k) { return k - 1; });
  std::swap(vertices[15000], vertices[15003]);
  WriteFenceIn();
  const std::string nested = support::read_file("fence.in");
  BuildFence(MaxN, false, 7u);
  WriteFenceIn();
  const struct {
    std::string input;  // of "test.in"
    std::string command;
    int status;
    std::string out;
  } cases[] = {
      {support::read_file("fence.in"), "V < test.in", 42, ""},
      {bowTie, "V < test.in", 43, "the edge from line 3 to line 4 meets the edge from line 5 to line 6\n"},
      // Beyond the first MiB nothing is read, and the verdict is the whole text's.
      {repeated, "V < test.in", 43, "line 30003: text after the last vertex\n"},
      {"0 0 6 0\n4\n1 " + std::string(3 << 20, '7') + "x\n", "V < test.in", 43,
       "line 3: number 2 is beyond 32 bits\n"},
      {nested, "V < test.in", 43, "the fence is not a simple polygon\n"},  // too many to name two
      {"", "yes '1 1' | V", 43, "line 1: number 3 missing\n"},             // an endless input
      {"", "V <&-", 6, "Runtime error 6 at $00006002\n  reading \"standard input\": Bad file descriptor\n"},
      // Its reader gone before the verdict is written, the status stays the verdict.
      {bowTie,
       "mkfifo in gone; { V < in; echo $? >status; } | { exec <&-; echo >gone; } & read x <gone; cat test.in "
       ">in; wait",
       43, ""},
  };
  for (const auto& c : cases) {
    support::write_file("test.in", c.input);
    std::string command = c.command;
    command.replace(command.find('V'), 1, QUILLOT_VALIDATE);
    if (command.find("status") == std::string::npos) command = "{ " + command + "; echo $? >status; }";
    const support::ShellRun run = support::run_shell(".", command);
    EXPECT_EQ(support::read_file("status"), std::to_string(c.status) + "\n") << c.command;
    EXPECT_EQ(run.out, c.out) << c.command;
    if (c.command == "V < test.in" && c.status == 43) {
      EXPECT_EQ(Judge(c.input) + "\n", c.out);  // the library's verdict on the whole text
    }
    EXPECT_EQ(run.err, "") << c.command;
  }
}

}  // namespace
