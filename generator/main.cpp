// quillot <N>: writes a random fence test of about N vertices as "fence.in" and,
// for tests of at most 300 vertices, its picture "fence.ps".
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "draw.h"
#include "fence.h"
#include "io.h"
#include "parse.h"

namespace {

constexpr int32_t MinN = 4;
constexpr int32_t MaxDrawVertices = 300;
constexpr size_t MaxArgument = 255;  // longer arguments count by their first 255 bytes

// A refused argument makes no test; the status says so to a calling script.
int Refuse(const char* message) {
  std::puts(message);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillot;
  KeepStandardStreams();
  IgnoreWriteSignals();
  // Whole seconds since 1970, taken as 32 bits: runs in the same second make the same test.
  const auto seed = static_cast<uint32_t>(static_cast<int32_t>(std::time(nullptr)));

  const std::string_view argument = std::string_view(argc > 1 ? argv[1] : "").substr(0, MaxArgument);
  int32_t n = 0;
  if (argument.empty() || !ParseInt32(argument, n)) return Refuse("Usage: quillot <N>");
  if (n > MaxN) return Refuse("N is too large");
  n = std::max(n, MinN);

  BuildFence(n, n % 2 != 0, seed);
  WriteFenceIn();
  if (vertexCount <= MaxDrawVertices) DrawFence(DrawScale());
  return 0;
}
