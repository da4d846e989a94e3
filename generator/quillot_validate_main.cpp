// quillot-validate < fence.in: the input validator of the fence task, by the
// Kattis convention: status 42 for a valid test, 43 and the first violation on
// standard output for any other.
#include <cstdio>
#include <cstring>

#include "fence_validate.h"
#include "io.h"
#include "quillot_version.h"

int main(int argc, char** argv) {
  using namespace quillot;
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
    return std::printf("quillot-validate %s\n", Version) < 0;
  IgnoreWriteSignals();  // a reader gone from standard output must not change the verdict
  const std::string text = ReadAtMost(stdin, MaxTestBytes, "standard input", ReadingStandardInput);
  FenceTest test;
  std::string violation = CheckFormat(text, test);
  if (violation.empty()) violation = CheckFence(test).text;
  if (violation.empty()) return 42;
  std::printf("%s\n", violation.c_str());
  return 43;
}
