// quillot-gen <N> <seed>: writes to standard output the "fence.in" that quillot <N>
// writes when the clock reads <seed> seconds since 1970, and no other file.
#include <cstdio>
#include <cstring>

#include "args.h"
#include "fence.h"
#include "io.h"
#include "quillot_version.h"

namespace {

// Standard output carries the test, so every message goes to standard error.
int Refuse(const char* message) {
  std::fprintf(stderr, "%s\n", message);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillot;
  IgnoreWriteSignals();
  ioReport = stderr;
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
    return std::printf("quillot-gen %s\n", Version) < 0;

  int32_t n = 0;
  uint32_t seed = 0;
  const SizeCheck size = ReadSize(argc > 1 ? argv[1] : "", n);
  if (size == SizeCheck::NotInteger || !ReadSeed(argc > 2 ? argv[2] : "", seed))
    return Refuse("Usage: quillot-gen <N> <seed>");
  if (size == SizeCheck::TooLarge) return Refuse("N is too large");

  BuildFence(n, n % 2 != 0, seed);
  OutFile out(stdout, "standard output", WritingStandardOutput);
  WriteFenceIn(out);
  return 0;
}
