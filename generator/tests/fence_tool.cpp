// Test driver: draws the "fence.in" found in the current folder into "fence.ps",
// so that the renderer can be run on hand-made test files.
// Usage: fence_tool SCALE
#include <cstdlib>

#include "draw.h"

int main(int argc, char** argv) {
  if (argc != 2) return 64;
  quillot::DrawFence(std::strtod(argv[1], nullptr));
  return 0;
}
