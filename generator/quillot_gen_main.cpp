// quillot-gen <N> <seed>: writes to standard output the "fence.in" that quillot <N>
// writes when the clock reads <seed> seconds since 1970, and no other file.
#include <cstdio>

#include "args.h"
#include "exit_status.h"
#include "fence.h"
#include "fence_in.h"
#include "io.h"

int main(int argc, char** argv) {
  using namespace quillot;
  IgnoreWriteSignals();
  ioReport = stderr;  // standard output carries the test
  if (AsksVersion(argc, argv)) return PrintVersion("quillot-gen");

  int32_t n = 0;
  uint32_t seed = 0;
  const SizeCheck size = ReadSize(argc > 1 ? argv[1] : "", n);
  if (size == SizeCheck::NotInteger || !ReadSeed(argc > 2 ? argv[2] : "", seed))
    return Refuse("Usage: quillot-gen <N> <seed>");
  if (size == SizeCheck::TooLarge) return Refuse("N is too large");

  BuildFence(n, n % 2 != 0, seed);
  OutFile out(stdout, "standard output", WritingStandardOutput);
  WriteFenceIn(out);
  return Done;
}
