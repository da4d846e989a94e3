// Test driver over the generator's library, for what a test sees only from outside
// a process of its own:
//   fence_tool SCALE    draws the "fence.in" of the current folder into "fence.ps"
//   fence_tool deepest  writes the largest test with each pair drawn around all the
//                       rest, so that the pairing nests 7501 calls deep
#include <cstdlib>
#include <string_view>

#include "draw.h"
#include "fence.h"
#include "fence_in.h"

namespace {

int32_t draws = 0, lastK = 0;

// The last choice pairs lo with hi and leaves the whole rest to the level below.
int32_t Outermost(int32_t k) {
  if (draws++ > 0 && k != lastK - 1) std::exit(65);
  lastK = k;
  return k - 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillot;
  if (argc != 2) return 64;
  if (std::string_view(argv[1]) == "deepest") {
    BuildFence(MaxN, false, Outermost);
    if (draws != MaxN / 4 || seqTop != 0) return 65;
    WriteFenceIn();
    return 0;
  }
  DrawFence(std::strtod(argv[1], nullptr));
  return 0;
}
