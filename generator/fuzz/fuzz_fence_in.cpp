// Draws fuzzed "fence.in" files: the renderer must end in a complete picture or
// in I/O error 106, never in anything else.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "draw.h"
#include "fence.h"
#include "io.h"

namespace {

struct Stopped {
  int status;
};

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A folder of its own, in memory where the system offers one; the reports of
  // the expected failures go nowhere.
  char dir[] = "/dev/shm/fuzz_fence_in.XXXXXX";
  char fallback[] = "/tmp/fuzz_fence_in.XXXXXX";
  const char* work = mkdtemp(dir);
  if (work == nullptr) work = mkdtemp(fallback);
  Require(work != nullptr && chdir(work) == 0, "a working folder");
  static std::string folder = work;
  std::atexit([] {
    std::remove("fence.in");
    std::remove("fence.ps");
    rmdir(folder.c_str());
  });
  Require(std::freopen("/dev/null", "w", stdout) != nullptr, "quiet standard output");
  quillot::ioFailureHook = [](int status) { throw Stopped{status}; };
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::FILE* in = std::fopen("fence.in", "wb");
  Require(in != nullptr && std::fwrite(data, 1, size, in) == size && std::fclose(in) == 0,
          "fence.in written");
  try {
    quillot::DrawFence(336.0);
  } catch (const Stopped& stop) {
    Require(stop.status == 106, "a failure is I/O error 106");
    return 0;
  }
  // A complete picture: the outline's n + 1 lines (2 for n below 1) and 26 more.
  std::ifstream ps("fence.ps", std::ios::binary);
  const std::string picture{std::istreambuf_iterator<char>(ps), std::istreambuf_iterator<char>()};
  const std::string trailer = "stroke\nshowpage\n%%Trailer\n%%EOF\n";
  Require(picture.size() > trailer.size() &&
              picture.compare(picture.size() - trailer.size(), trailer.size(), trailer) == 0,
          "the picture ends with its trailer");
  const auto lines = std::count(picture.begin(), picture.end(), '\n');
  Require(lines == (quillot::vertexCount < 1 ? 1 : quillot::vertexCount) + 27, "n + 27 lines");
  return 0;
}
