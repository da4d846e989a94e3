// The command-line arguments of the generator's programs: the size N, the seed, --version.
#pragma once
#include <cstdint>

namespace quillot {

enum class SizeCheck { Accepted, NotInteger, TooLarge };

// Reads N by quillot's rules: the argument's first 255 bytes as one ParseInt32
// literal, at most MaxN. Sets n, raised to 4 when smaller, only when accepted.
SizeCheck ReadSize(const char* argument, int32_t& n);

// Reads a seed: a plain decimal from 0 to 4294967295.
bool ReadSeed(const char* argument, uint32_t& seed);

// True when the call is "--version" alone.
bool AsksVersion(int argc, char** argv);

// Prints "<program> <release>" on standard output, and returns Done; a failed
// write ends the run with the I/O failure report.
int PrintVersion(const char* program);

// Prints a refusal of the call where the program's reports go (ioReport), and
// returns Refused: no test is made, and the status says so to a calling script.
int Refuse(const char* message);

}  // namespace quillot
