// quillot-draw < fence.in > fence.svg: the picture of a test of the fence task,
// with the first violation that quillot-validate finds drawn on it. Status 0 for
// a valid test, 43 for one that is not; a text that is no fence at all gets the
// validator's line on standard output and no picture.
#include <cstdio>

#include "args.h"
#include "draw_svg.h"
#include "exit_status.h"
#include "io.h"

int main(int argc, char** argv) {
  using namespace quillot;
  if (AsksVersion(argc, argv)) return PrintVersion("quillot-draw");
  IgnoreWriteSignals();
  ioReport = stderr;  // standard output carries the picture
  const std::string text = ReadAtMost(stdin, MaxTestBytes, "standard input", ReadingStandardInput);
  FenceTest test;
  const Violation unreadable = CheckFormat(text, test);
  if (unreadable.kind != ViolationKind::None) {
    std::printf("%s\n", unreadable.text.c_str());
    return KattisRejected;
  }
  const Violation violation = CheckFence(test);
  OutFile out(stdout, "standard output", WritingStandardOutput);
  DrawSvg(test, violation, out);
  if (violation.kind != ViolationKind::None) return KattisRejected;
  return Done;
}
