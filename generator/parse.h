// The generator's one conversion of a text to a signed 32-bit integer.
#pragma once
#include <cstdint>
#include <string_view>

namespace quillot {

// Reads text as one signed 32-bit integer literal: blanks and tabs, an optional
// sign, an optional radix prefix ("$" 16, "%" 2, "&" 8) and digits up to the end.
// Returns false, with value 0, when the text is anything else or out of range.
bool ParseInt32(std::string_view text, int32_t& value);

}  // namespace quillot
