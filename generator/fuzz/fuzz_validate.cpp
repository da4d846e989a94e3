// Judges fuzzed tests: the validator must end in a verdict and nothing else,
// and a text it finds valid must be the very text the test's numbers write.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fence_validate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillot;
  const std::string_view text(reinterpret_cast<const char*>(data), std::min(size, MaxTestBytes));
  FenceTest test;
  std::string violation = CheckFormat(text, test).text;
  if (violation.empty()) violation = CheckFence(test).text;
  if (!violation.empty()) return 0;

  std::string written = std::to_string(test.a.x) + " " + std::to_string(test.a.y) + " " +
                        std::to_string(test.b.x) + " " + std::to_string(test.b.y) + "\n" +
                        std::to_string(test.vertices.size()) + "\n";
  for (const Point v : test.vertices) written += std::to_string(v.x) + " " + std::to_string(v.y) + "\n";
  if (written != text) {
    std::fprintf(stderr, "broken promise: a valid text is the text its numbers write\n");
    std::abort();
  }
  return 0;
}
