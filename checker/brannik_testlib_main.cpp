// brannik-testlib: the register task's checker for systems that follow
// testlib's calling convention (Polygon, Codeforces): brannik-testlib
// [--testset <name>] [--group <name>] <input> <output> <answer>
// [<result-file> [-appes]]; status 0 ok, 1 wrong answer, 2 presentation
// error, 3 a failure of the jury's side or of the checker. Compiled with
// -DCMS, as CMS compiles a Polygon package's checker, it speaks CMS's
// protocol instead, so that one source serves both systems.
#include <cstdio>
#include <cstring>

#include "cms_protocol.h"
#include "judge.h"

namespace {

struct Outcome {
  int status;
  const char* plain;  // the line's first words
  const char* xml;    // the outcome's name in the XML result
};

constexpr Outcome Ok{0, "ok", "accepted"}, WrongAnswer{1, "wrong answer", "wrong-answer"},
    PresentationError{2, "wrong output format", "presentation-error"}, Fail{3, "FAIL", "fail"};

// testlib's XML result (-appes), the message escaped as XML requires.
bool write_xml(std::FILE* file, const Outcome& outcome, const char* message) {
  bool written =
      std::fprintf(file, "<?xml version=\"1.0\" encoding=\"windows-1251\"?><result outcome = \"%s\">",
                   outcome.xml) >= 0;
  for (const char* c = message; *c; ++c) {
    const char* entity = *c == '&'   ? "&amp;"
                         : *c == '<' ? "&lt;"
                         : *c == '>' ? "&gt;"
                         : *c == '"' ? "&quot;"
                                     : nullptr;
    written = (entity ? std::fputs(entity, file) >= 0 : std::fputc(*c, file) != EOF) && written;
  }
  return regs::write_all(file, "</result>\n") && written;
}

// The verdict goes into the result file when one is named (as XML with
// -appes), and as a line to standard error. A named result file carries the
// verdict, so that standard error is then a copy for the logs, and a copy
// that cannot be written (standard error closed or full) leaves the verdict
// as it is; without one, standard error is all, and a line not written there
// is a failure. Every other file is closed by then, so a closed standard
// error never writes into one of them.
int report(const Outcome& outcome, const char* message, const char* result_path, bool xml) {
  char line[sizeof(regs::Line) + 32];
  std::snprintf(line, sizeof line, "%s %s\n", outcome.plain, message);
  if (result_path) {
    std::FILE* result = std::fopen(result_path, "w");
    bool written = result && (xml ? write_xml(result, outcome, message) : regs::write_all(result, line));
    if (result) written = std::fclose(result) == 0 && written;
    if (!written) {
      std::fprintf(stderr, "FAIL cannot write the result file %s\n", result_path);
      return Fail.status;
    }
  }
  return regs::write_all(stderr, line) || result_path ? outcome.status : Fail.status;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef CMS
  return regs::cms_check(argc, argv);
#endif
  // testlib's options name the test's set and group; the verdict needs neither.
  const char* files[5] = {};
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--testset") == 0 || std::strcmp(argv[i], "--group") == 0)
      ++i;
    else if (count++ < 5)
      files[count - 1] = argv[i];
  }
  // A bad call still reports into the result file when one is named, as testlib does.
  const char* result_path = count > 3 ? files[3] : nullptr;
  const bool xml = count > 4 && std::strcmp(files[4], "-appes") == 0;
  if (count < 3 || count > 5 || (count == 5 && !xml))
    return report(Fail,
                  "usage: brannik-testlib [--testset <name>] [--group <name>] <input> <output> <answer> "
                  "[<result-file> [-appes]]",
                  result_path, xml);

  const regs::Judgement j = regs::judge(files[0], files[1], files[2]);
  if (j.verdict == regs::Verdict::Accepted) {
    char message[64];
    std::snprintf(message, sizeof message, "total cost %lld", j.total);
    return report(Ok, message, result_path, xml);
  }
  const bool rejected = j.verdict == regs::Verdict::Rejected;
  regs::Line message = rejected ? regs::answer_line(j) : regs::verdict_line(j);
  message.text[std::strcspn(message.text, "\n")] = '\0';
  // An output that is not an answer at all is at fault in its form, not in its content.
  const bool malformed = rejected && std::strncmp(j.message, "syntax error", 12) == 0;
  return report(!rejected   ? Fail
                : malformed ? PresentationError
                            : WrongAnswer,
                message.text, result_path, xml);
}
