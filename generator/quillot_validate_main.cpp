// quillot-validate < fence.in: the input validator of the fence task, by the
// Kattis convention: status 42 for a valid test, 43 and the first violation on
// standard output for any other.
#include <cstdio>

#include "args.h"
#include "exit_status.h"
#include "fence_validate.h"
#include "io.h"

int main(int argc, char** argv) {
  using namespace quillot;
  if (AsksVersion(argc, argv)) return PrintVersion("quillot-validate");
  IgnoreWriteSignals();  // a reader gone from standard output must not change the verdict
  const std::string text = ReadAtMost(stdin, MaxTestBytes, "standard input", ReadingStandardInput);
  FenceTest test;
  Violation violation = CheckFormat(text, test);
  if (violation.kind == ViolationKind::None) violation = CheckFence(test);
  if (violation.kind == ViolationKind::None) return KattisAccepted;
  std::printf("%s\n", violation.text.c_str());
  return KattisRejected;
}
