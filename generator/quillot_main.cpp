// quillot <N>: writes a random fence test of about N vertices as "fence.in" and,
// for tests of at most 300 vertices, its picture "fence.ps".
#include <ctime>

#include "args.h"
#include "draw.h"
#include "exit_status.h"
#include "fence.h"
#include "fence_in.h"
#include "io.h"

namespace {

constexpr int32_t MaxDrawVertices = 300;

}  // namespace

int main(int argc, char** argv) {
  using namespace quillot;
  KeepStandardStreams();
  IgnoreWriteSignals();
  // Whole seconds since 1970, taken as 32 bits: runs in the same second make the same test.
  const auto seed = static_cast<uint32_t>(static_cast<int32_t>(std::time(nullptr)));

  int32_t n = 0;
  switch (ReadSize(argc > 1 ? argv[1] : "", n)) {
    case SizeCheck::NotInteger:
      return Refuse("Usage: quillot <N>");
    case SizeCheck::TooLarge:
      return Refuse("N is too large");
    case SizeCheck::Accepted:
      break;
  }

  BuildFence(n, n % 2 != 0, seed);
  WriteFenceIn();
  if (vertexCount <= MaxDrawVertices) DrawFence(DrawScale());
  return Done;
}
