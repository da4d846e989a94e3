// Test driver: runs one step of the generator in the current folder.
//   fence_tool write N SEED   builds the fence and writes "fence.in"
//   fence_tool draw SCALE     draws the "fence.in" found there into "fence.ps"
#include <cstdlib>
#include <string_view>

#include "draw.hpp"
#include "fence.hpp"

int main(int argc, char** argv) {
  using namespace quillot;
  const std::string_view step = argc > 1 ? argv[1] : "";
  const int n = argc > 2 ? std::atoi(argv[2]) : 0;
  if (step == "write" && argc == 4 && n >= 4 && n <= MaxN) {
    BuildFence(n, n % 2 != 0, static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)));
    WriteFenceIn();
  } else if (step == "draw" && argc == 3) {
    DrawFence(std::strtod(argv[2], nullptr));
  } else {
    return 64;
  }
  return 0;
}
