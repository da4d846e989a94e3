// The generator's conversions of a text to an integer: its own literals, and plain decimals.
#include "parse.h"

#include <algorithm>

namespace quillot {

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

}  // namespace

bool ParseInt32(std::string_view text, int32_t& value) {
  value = 0;
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return false;
  const bool negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  uint32_t base = 10;
  if (i < text.size()) {
    switch (text[i]) {
      case '$':
        base = 16;
        ++i;
        break;
      case '%':
        base = 2;
        ++i;
        break;
      case '&':
        base = 8;
        ++i;
        break;
    }
  }
  // A prefixed number is a 32-bit pattern; a decimal one a magnitude within the sign's range.
  const uint64_t limit = base != 10 ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
  if (i == text.size()) return false;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i]);
    if (digit >= static_cast<int>(base)) return false;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return false;
  }
  const uint32_t bits = static_cast<uint32_t>(magnitude);
  value = static_cast<int32_t>(negative ? 0u - bits : bits);
  return true;
}

bool ParsePlainDecimal(std::string_view text, int64_t& value) {
  constexpr int64_t Beyond = 100'000'000'000'000'000;  // times 10 stays within 64 bits
  value = 0;
  const bool negative = !text.empty() && text[0] == '-';
  const std::string_view digits = text.substr(negative ? 1 : 0);
  if (digits.empty() || (digits[0] == '0' && (digits.size() > 1 || negative))) return false;
  int64_t magnitude = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    magnitude = std::min(magnitude * 10 + (c - '0'), Beyond);
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace quillot
