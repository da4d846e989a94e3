// The strict validator of "REGS.IN": its verdict line by line, and that it
// never accepts what the checker's reader rejects.
#include "validate.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "cases.h"
#include "regs.h"
#include "support.h"

namespace {

using support::WorkedIn;

std::string violation(const std::string& text) {
  char err[regs::ErrSize] = "";
  support::Stream s(text);
  return regs::validate_task(s.file, err) ? "" : err;
}

TEST(ValidateTask, ReportsTheFirstViolation) {
  const std::string chain = cases::chain(10000).in;
  const struct {
    const char* name;
    std::string text, violation;
  } table[] = {
      {"worked example", WorkedIn, ""},
      {"smallest tree", "1\n1 1\n0\n", ""},
      {"extreme values", "10\n2147483647 1\n10\n-2147483648\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n", ""},
      {"chain of 10000 nodes", chain, ""},
      {"wide tree of 10000 nodes", cases::wide(10000).in, ""},
      {"empty file", "", "line 1: missing line"},
      {"plus sign", "+2\n1 3\n0\n", "line 1: not a plain decimal integer"},
      {"leading zero", "02\n1 3\n0\n", "line 1: not a plain decimal integer"},
      {"minus zero cost", "1\n1 1\n1\n-0\n0\n", "line 4: not a plain decimal integer"},
      {"hexadecimal", "0x2\n1 3\n0\n", "line 1: not a plain decimal integer"},
      {"lone minus", "1\n1 1\n1\n-\n0\n", "line 4: not a plain decimal integer"},
      {"text after the number", "7 apples\n1 3\n0\n", "line 1: not a plain decimal integer"},
      {"NUL byte", std::string("1\n1 1\n0\0\n", 9), "line 3: not a plain decimal integer"},
      {"blank first", " 2\n1 3\n0\n", "line 1: blank not between two numbers"},
      {"blank last", "2\n1 3 \n0\n", "line 2: blank not between two numbers"},
      {"two blanks", "2\n1  3\n0\n", "line 2: blank not between two numbers"},
      {"tab", "2\n1\t3\n0\n", "line 2: not a plain decimal integer"},
      {"CR LF", "2\r\n1 3\r\n0\r\n", "line 1: carriage return"},
      {"no final line feed", "1\n1 1\n0", "line 3: no line feed at the end"},
      {"empty line inside", "2\n1 3\n\n0\n", "line 3: empty line"},
      {"line too long", "1\n1 1\n" + std::string(1000, '1') + "\n", "line 3: line too long"},
      {"one cost only", "1\n1\n0\n", "line 2: too few numbers"},
      {"two numbers for N", "1 1\n1 1\n0\n", "line 1: too many numbers"},
      {"N of 0", "0\n1 1\n0\n", "line 1: N out of range"},
      {"N of 101", "101\n1 1\n0\n", "line 1: N out of range"},
      {"C_s of 0", "1\n1 0\n0\n", "line 2: C_l or C_s out of range"},
      {"C_l above 32 bits", "1\n2147483648 1\n0\n", "line 2: C_l or C_s out of range"},
      {"huge C_l", "1\n99999999999999999999999 1\n0\n", "line 2: C_l or C_s out of range"},
      {"K above N", "1\n1 1\n2\n1\n0\n0\n", "line 3: K out of range"},
      {"K of 11", "20\n1 1\n11\n", "line 3: K out of range"},
      {"negative K", "20\n1 1\n-1\n", "line 3: K out of range"},
      {"cost above 32 bits", "1\n1 1\n1\n2147483648\n0\n", "line 4: cost out of range"},
      {"cost below 32 bits", "1\n1 1\n1\n-2147483649\n0\n", "line 4: cost out of range"},
      {"missing child", "1\n1 1\n1\n5\n", "line 5: missing line"},
      {"missing last leaf", WorkedIn.substr(0, WorkedIn.size() - 2), "line 12: missing line"},
      {"chain of 10001 nodes", cases::chain(10001).in, "line 20003: too many nodes"},
      {"empty line after the tree", WorkedIn + "\n", "line 13: nothing may follow the root's block"},
      {"second tree", WorkedIn + "0\n", "line 13: nothing may follow the root's block"},
      // The earliest faulty line wins, be its fault of form or of structure.
      {"structure before form", "1\n1 1\n2\n+1\n", "line 3: K out of range"},
      {"form before structure", "1\n1 1\n+1\n1\n0\n0\n0\n", "line 3: not a plain decimal integer"},
      {"form and structure on one line", "1\n1 1\n02\n", "line 3: not a plain decimal integer"},
  };
  for (const auto& row : table) EXPECT_EQ(violation(row.text), row.violation) << row.name;
}

TEST(ValidateTask, StopsEarlyOnEndlessInput) {
  // A huge input is never held whole: the first violation ends the read.
  const struct {
    std::string text, violation;
  } table[] = {
      {"7", "line 1: line too long"},
      {"1\n", "line 2: too few numbers"},
      {"1\n1 1\n0\n", "line 4: nothing may follow the root's block"},
  };
  for (const auto& row : table) {
    support::ScriptedStream endless(row.text, SIZE_MAX);
    char err[regs::ErrSize] = "";
    EXPECT_EQ(regs::validate_task(endless.file, err), 0) << row.text;
    EXPECT_EQ(err, row.violation) << row.text;
    EXPECT_LT(endless.at, 1u << 20) << row.text;
  }
}

// A random task in canonical form: a tree of up to 40 nodes.
std::string random_task(std::mt19937& random) {
  const int n = 1 + random() % 12;
  std::string text = std::to_string(n) + "\n" + std::to_string(1 + random() % 5) + " " +
                     std::to_string(1 + random() % 5) + "\n";
  int nodes = 0;
  auto block = [&](auto& self, int depth) -> void {
    ++nodes;
    const int k = depth > 4 || nodes > 30 ? 0 : static_cast<int>(random() % (std::min(n, 3) + 1));
    text += std::to_string(k) + "\n";
    if (k == 0) return;
    text += std::to_string(static_cast<int>(random() % 21) - 10) + "\n";
    for (int i = 0; i < k; ++i) self(self, depth + 1);
  };
  block(block, 0);
  return text;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start + 1));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// One edit of a byte, of a line, or of a number.
std::string mutate(std::string text, std::mt19937& random) {
  static const std::string bytes = "0123456789- \n\r\t+x";
  static const char* const numbers[] = {"0",           "-1",  "1",          "10",         "11",
                                        "100",         "101", "2147483647", "2147483648", "-2147483648",
                                        "-2147483649", "00",  "-0",         "+1",         "0x1"};
  std::vector<std::string> lines = lines_of(text);
  switch (random() % 6) {
    case 0:
      if (!text.empty()) text[random() % text.size()] = bytes[random() % bytes.size()];
      return text;
    case 1:
      return text.insert(random() % (text.size() + 1), 1, bytes[random() % bytes.size()]);
    case 2:
      if (!text.empty()) text.erase(random() % text.size(), 1);
      return text;
    case 3:
      if (!lines.empty()) lines.erase(lines.begin() + random() % lines.size());
      break;
    case 4:
      if (!lines.empty())
        lines.insert(lines.begin() + random() % lines.size(), lines[random() % lines.size()]);
      break;
    default: {
      std::string& line = lines[random() % lines.size()];
      const std::size_t blank = line.find(' ');
      const std::string number = numbers[random() % std::size(numbers)];
      line = blank != std::string::npos && random() % 2
                 ? line.substr(0, blank + 1) + number + "\n"
                 : number + (blank != std::string::npos ? line.substr(blank) : "\n");
    }
  }
  std::string joined;
  for (const std::string& line : lines) joined += line;
  return joined;
}

TEST(ValidateTask, NeverAcceptsWhatTheReaderRejects) {
  std::mt19937 random(11);
  int accepted = 0, rejected = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text = random_task(random);
    for (int edits = round % 4; edits > 0; --edits) text = mutate(text, random);
    char err[regs::ErrSize];
    support::Stream for_validator(text), for_reader(text);
    const int valid = regs::validate_task(for_validator.file, err);
    const int read = regs::read_task(for_reader.file, err);
    if (read) regs::delete_data();
    EXPECT_TRUE(!valid || read) << "accepted by the validator, rejected by the reader (" << err << "):\n"
                                << text;
    (valid ? accepted : rejected) += 1;
  }
  // Both sides of the implication are exercised.
  EXPECT_GT(accepted, 1000);
  EXPECT_GT(rejected, 1000);
}

}  // namespace
