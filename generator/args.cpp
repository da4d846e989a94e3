// The command-line arguments of the generator's programs: the size N, the seed, --version.
#include "args.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "exit_status.h"
#include "fence.h"
#include "io.h"
#include "parse.h"
#include "quillot_version.h"

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

bool AsksVersion(int argc, char** argv) { return argc == 2 && std::strcmp(argv[1], "--version") == 0; }

int PrintVersion(const char* program) {
  OutFile out(stdout, "standard output", WritingStandardOutput);
  out.Text(program);
  out.Text(" ");
  out.Text(Version);
  out.Text("\n");
  out.Close();
  return Done;
}

int Refuse(const char* message) {
  std::fprintf(ioReport, "%s\n", message);
  return Refused;
}

}  // namespace quillot
