// The generator's conversions of a text to an integer: its own literals, and plain decimals.
#pragma once
#include <cstdint>
#include <string_view>

namespace quillot {

// Reads text as one signed 32-bit integer literal: blanks and tabs, an optional
// sign, an optional radix prefix ("$" 16, "%" 2, "&" 8) and digits up to the end.
// Returns false, with value 0, when the text is anything else or out of range.
bool ParseInt32(std::string_view text, int32_t& value);

// Reads text as a plain decimal integer, the form quillot writes: "0", or an optional
// "-" and digits without a leading zero, nothing else. Returns false when it is not
// one. A magnitude of 10^17 or more comes out as 10^17, beyond the range of any use.
bool ParsePlainDecimal(std::string_view text, int64_t& value);

}  // namespace quillot
