// quillot-draw < fence.in > fence.svg: the picture of a test of the fence task,
// with the first violation that quillot-validate finds drawn on it. Status 0 for
// a valid test, 43 for one that is not; a text that is no fence at all gets the
// validator's line on standard output and no picture.
#include <cstdio>
#include <cstring>

#include "draw_svg.h"
#include "io.h"
#include "quillot_version.h"

int main(int argc, char** argv) {
  using namespace quillot;
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
    return std::printf("quillot-draw %s\n", Version) < 0;
  IgnoreWriteSignals();
  ioReport = stderr;  // standard output carries the picture
  const std::string text = ReadAtMost(stdin, MaxTestBytes, "standard input", ReadingStandardInput);
  FenceTest test;
  const std::string unreadable = CheckFormat(text, test);
  if (!unreadable.empty()) {
    std::printf("%s\n", unreadable.c_str());
    return 43;
  }
  const Violation violation = CheckFence(test);
  OutFile out(stdout, "standard output", WritingStandardOutput);
  DrawSvg(test, violation, out);
  return violation.text.empty() ? 0 : 43;
}
