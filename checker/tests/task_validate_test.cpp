// The strict validator of "REGS.IN": its verdict line by line, and that it
// never accepts what the checker's reader rejects.
#include "task_validate.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cases.h"
#include "regs.h"
#include "support.h"
#include "worked_example.h"

namespace {

using support::WorkedIn;

std::string violation(std::FILE* file) {
  char err[regs::ErrSize] = "";
  return regs::validate_task(file, err) ? "" : err;
}

TEST(ValidateTask, ReportsTheEarliestViolation) {
  const struct {
    std::string text, violation;
  } table[] = {
      {WorkedIn, ""},
      {"10\n2147483647 1\n1\n-2147483648\n0\n", ""},
      {"100\n1 1\n1\n5\n0\n", ""},
      {"2\n1 3\n0\n", "line 3: the root is a leaf: no answer is accepted"},
      {cases::wide(10000).in, ""},
      {"", "line 1: missing line"},
      {"+2\n1 3\n0\n", "line 1: not a plain decimal integer"},
      {"02\n1 3\n0\n", "line 1: not a plain decimal integer"},
      {"1\n1 1\n1\n-0\n0\n", "line 4: not a plain decimal integer"},
      {std::string("1\n1 1\n0\0\n", 9), "line 3: not a plain decimal integer"},
      {"2\n1  3\n0\n", "line 2: blank not between two numbers"},
      {"2\n1 3 \n0\n", "line 2: blank not between two numbers"},
      {"2\r\n1 3\r\n0\r\n", "line 1: carriage return"},
      {"1\n1 1\n0", "line 3: no line feed at the end"},
      {"2\n1 3\n\n0\n", "line 3: empty line"},
      {"1\n1 1\n" + std::string(1000, '1') + "\n", "line 3: line too long"},
      {"1\n1\n0\n", "line 2: too few numbers"},
      {"1 1\n1 1\n0\n", "line 1: too many numbers"},
      {"101\n1 1\n0\n", "line 1: N out of range"},
      {"1\n1 0\n0\n", "line 2: C_l or C_s out of range"},
      {"1\n2147483648 1\n0\n", "line 2: C_l or C_s out of range"},
      {"20\n1 1\n11\n", "line 3: K out of range"},
      {"1\n1 1\n1\n-2147483649\n0\n", "line 4: cost out of range"},
      // 2^64 + 1: its digits must not wrap around to a small number, nor be cut to one.
      {"1\n1 1\n1\n18446744073709551617\n0\n", "line 4: cost out of range"},
      {WorkedIn.substr(0, WorkedIn.size() - 2), "line 12: missing line"},
      {cases::chain(10001).in, "line 20003: too many nodes"},
      {WorkedIn + "\n", "line 13: nothing may follow the root's block"},
      // The earliest faulty line wins, be its fault of form or of structure.
      {"1\n1 1\n2\n+1\n", "line 3: K out of range"},
      {"1\n1 1\n+1\n1\n0\n0\n0\n", "line 3: not a plain decimal integer"},
  };
  for (const auto& row : table)
    EXPECT_EQ(violation(support::Stream(row.text).file), row.violation) << row.text;
}

TEST(ValidateTask, StopsAtTheFirstViolationOfAnEndlessInput) {
  for (const std::string text : {"7", "1\n1 1\n0\n"}) {
    support::ScriptedStream endless(text, SIZE_MAX);
    EXPECT_NE(violation(endless.file), "") << text;
    EXPECT_LT(endless.at, 1u << 20) << text;
  }
}

TEST(ValidateTask, NeverTakesAReadErrorForTheEnd) {
  const struct {
    std::size_t good;  // bytes of WorkedIn given before the error
    std::string violation;
  } table[] = {
      {20, "line 10: read error"},               // inside the tree: not a missing line
      {WorkedIn.size(), "line 13: read error"},  // where the end is looked for: not valid
  };
  for (const auto& row : table) {
    support::ScriptedStream failing(WorkedIn, row.good);
    EXPECT_EQ(violation(failing.file), row.violation) << row.good;
  }
}

// A random task in canonical form of up to about 30 nodes, then `edits` edits
// of a byte, a line or a number.
std::string random_task(std::mt19937& random, int edits) {
  const int n = 1 + random() % 12;
  std::string text = std::to_string(n) + "\n" + std::to_string(1 + random() % 5) + " 1\n";
  int nodes = 0;
  auto block = [&](auto& self, int depth) -> void {
    const int k = depth > 4 || ++nodes > 30 ? 0 : random() % (std::min(n, 3) + 1);
    text += std::to_string(k) + "\n";
    if (k > 0) text += std::to_string(static_cast<int>(random() % 21) - 10) + "\n";
    for (int i = 0; i < k; ++i) self(self, depth + 1);
  };
  block(block, 0);
  static const std::string bytes = "019- \n\r+x",
                           numbers[] = {"0", "-1", "11", "101", "2147483648", "-0", "00"};
  while (edits-- > 0 && !text.empty()) {
    const std::size_t at = random() % text.size(), line = text.rfind('\n', at) + 1;
    const std::size_t end = text.find('\n', at) == std::string::npos ? text.size() : text.find('\n', at) + 1;
    switch (random() % 4) {
      case 0:
        text[at] = bytes[random() % bytes.size()];
        break;
      case 1:
        text.erase(at, 1);
        break;
      case 2:
        text =
            text.substr(0, line) + (random() % 2 ? text.substr(line, end - line) : "\n") + text.substr(line);
        break;
      default:
        text.replace(line, text.find_first_of(" \n", line) - line, numbers[random() % 7]);
    }
  }
  return text;
}

TEST(ValidateTask, NeverAcceptsWhatTheReaderRejects) {
  std::mt19937 random(11);
  int accepted = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::string text = random_task(random, round % 4);
    char err[regs::ErrSize];
    const bool valid = violation(support::Stream(text).file).empty();
    const bool read = regs::read_task(support::Stream(text).file, err);
    if (read) regs::delete_data();
    EXPECT_TRUE(!valid || read) << "the reader says " << err << " on:\n" << text;
    accepted += valid;
  }
  EXPECT_GT(accepted, 500);  // both sides of the implication are met
  EXPECT_LT(accepted, 3000);
}

}  // namespace
