// The command-line arguments of the generator's programs: the size N and the seed.
#pragma once
#include <cstdint>

namespace quillot {

enum class SizeCheck { Accepted, NotInteger, TooLarge };

// Reads N by quillot's rules: the argument's first 255 bytes as one ParseInt32
// literal, at most MaxN. Sets n, raised to 4 when smaller, only when accepted.
SizeCheck ReadSize(const char* argument, int32_t& n);

// Reads a seed: a plain decimal from 0 to 4294967295.
bool ReadSeed(const char* argument, uint32_t& seed);

}  // namespace quillot
