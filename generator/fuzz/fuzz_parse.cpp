// ParseInt32 against a plain model of the same rules: blanks and tabs, one
// sign, one prefix, then only digits of the base, whose magnitude strtoull
// gives; both must agree on every text of at most 255 bytes.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "parse.h"

namespace {

bool Model(std::string_view text, int32_t& value) {
  value = 0;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  int base = 10;
  const std::string_view prefixes = "$%&";
  if (i < text.size() && prefixes.find(text[i]) != std::string_view::npos) {
    base = text[i] == '$' ? 16 : text[i] == '%' ? 2 : 8;
    ++i;
  }
  const std::string digits(text.substr(i));
  const char* allowed = base == 16  ? "0123456789abcdefABCDEF"
                        : base == 8 ? "01234567"
                        : base == 2 ? "01"
                                    : "0123456789";
  if (digits.empty() || digits.find_first_not_of(allowed) != std::string::npos) return false;

  errno = 0;
  const unsigned long long magnitude = std::strtoull(digits.c_str(), nullptr, base);
  if (errno == ERANGE) return false;
  if (base == 10) {
    if (magnitude > (negative ? 2147483648ULL : 2147483647ULL)) return false;
    value =
        static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
    return true;
  }
  if (magnitude > 0xFFFFFFFFULL) return false;
  const auto pattern = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
  value = static_cast<int32_t>(static_cast<uint32_t>(negative ? -static_cast<int64_t>(pattern) : pattern));
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size < 255 ? size : 255);
  int32_t parsed = -1, modelled = -1;
  const bool ok = quillot::ParseInt32(text, parsed);
  if (ok != Model(text, modelled) || parsed != modelled) {
    std::fprintf(stderr, "ParseInt32 gives %d (%s), the model %d\n", parsed, ok ? "accepted" : "refused",
                 modelled);
    std::abort();
  }
  return 0;
}
