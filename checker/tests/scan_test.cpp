// The "%i" conversion, checked against the C library's own scan of "%i %i"
// wherever the values fit the library's int, and by hand beyond that.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>

#include "regs.h"

namespace {

struct Scanned {
  int count = 0;  // numbers found, as the scan's return value counts them
  long long first = 0, second = 0;
};

Scanned ours(const std::string& text) {
  Scanned s;
  const char* p = text.c_str();
  if (auto a = regs::scan_i(p)) {
    s.count = 1;
    s.first = *a;
    if (auto b = regs::scan_i(p)) {
      s.count = 2;
      s.second = *b;
    }
  }
  return s;
}

bool fits(long long v) { return v >= INT_MIN && v <= INT_MAX; }

void expect_same_as_library(const std::string& text) {
  int a = 0, b = 0;
  const int count = std::max(0, std::sscanf(text.c_str(), "%i %i", &a, &b));
  const Scanned s = ours(text);
  if (!fits(s.first) || !fits(s.second)) return;  // the library's int wraps there
  ASSERT_EQ(s.count, count) << '[' << text << ']';
  if (count >= 1) {
    EXPECT_EQ(s.first, a) << '[' << text << ']';
  }
  if (count == 2) {
    EXPECT_EQ(s.second, b) << '[' << text << ']';
  }
}

TEST(ScanI, AgreesWithTheLibraryOnHandPickedLines) {
  for (const char* text : {"",
                           " ",
                           "\n",
                           "12",
                           "  \t-12 7",
                           "+5",
                           "-",
                           "+",
                           "- 5",
                           "+-5",
                           "5+1",
                           "5-1",
                           "0",
                           "00",
                           "010 1",
                           "08 1",
                           "09",
                           "0x10",
                           "0X1f 2",
                           "-0x10",
                           "0x",
                           "0x 5",
                           "0xg 1",
                           "00x5 3",
                           "1 0x",
                           "0x0A 1",
                           "7 apples",
                           "abc",
                           "1\r\n",
                           "1 2\r\n",
                           "\v\f3 4",
                           "2147483647 -2147483648",
                           "017777777777 1",
                           "0x7fffffff 0",
                           "1e3",
                           "1.5 2"})
    expect_same_as_library(text);
}

TEST(ScanI, AgreesWithTheLibraryOnRandomLines) {
  const std::string alphabet = " \t\n+-0123789abfxXg";
  std::mt19937 random(20261208);
  for (int i = 0; i < 50000; ++i) {
    std::string text(random() % 12, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    expect_same_as_library(text);
  }
}

TEST(ScanI, KeepsValuesBeyondThirtyTwoBitsAndSaturatesBeyondSixtyFour) {
  const struct {
    const char* text;
    long long value;
  } table[] = {
      {"4294967297", 4294967297LL},        {"-2147483649", -2147483649LL},
      {"0x100000001", 0x100000001LL},      {"9223372036854775807", LLONG_MAX},
      {"-9223372036854775808", LLONG_MIN}, {"9223372036854775808", LLONG_MAX},
      {"-9223372036854775809", LLONG_MIN}, {"99999999999999999999999999", LLONG_MAX},
      {"0xffffffffffffffffff", LLONG_MAX}, {"-0777777777777777777777777", LLONG_MIN},
  };
  for (const auto& row : table) {
    const char* p = row.text;
    const auto value = regs::scan_i(p);
    ASSERT_TRUE(value) << row.text;
    EXPECT_EQ(*value, row.value) << row.text;
    EXPECT_EQ(*p, '\0') << row.text << ": the whole number is consumed";
  }
}

}  // namespace
