// The command-line arguments of the generator's programs: the size N and the seed.
#include "args.h"

#include <algorithm>
#include <string_view>

#include "fence.h"
#include "parse.h"

namespace quillot {

namespace {

constexpr int32_t MinN = 4;
constexpr size_t MaxArgument = 255;  // longer arguments count by their first 255 bytes

}  // namespace

SizeCheck ReadSize(const char* argument, int32_t& n) {
  const std::string_view text = std::string_view(argument).substr(0, MaxArgument);
  int32_t value = 0;
  if (text.empty() || !ParseInt32(text, value)) return SizeCheck::NotInteger;
  if (value > MaxN) return SizeCheck::TooLarge;
  n = std::max(value, MinN);
  return SizeCheck::Accepted;
}

bool ReadSeed(const char* argument, uint32_t& seed) {
  int64_t value = 0;
  if (!ParsePlainDecimal(argument, value) || value < 0 || value > UINT32_MAX) return false;
  seed = static_cast<uint32_t>(value);
  return true;
}

}  // namespace quillot
