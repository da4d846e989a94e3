// brannik-testlib: the register task's checker for systems that follow
// testlib's calling convention (Polygon, Codeforces): brannik-testlib
// [--testset <name>] [--group <name>] [--score <form>] <input> <output>
// <answer> [<result-file> [-appes]]; status 0 ok, 1 wrong answer, 2
// presentation error, 3 a failure of the jury's side or of the checker, 7
// points: a valid answer dearer than the least, scored in part. Compiled with
// -DCMS, as CMS compiles a Polygon package's checker, it speaks CMS's
// protocol instead, so that one source serves both systems.
#include <cstdio>
#include <cstring>
#include <string>

#include "args.h"
#include "cms_protocol.h"
#include "default_score.h"
#include "exit_status.h"
#include "judge.h"
#include "output.h"
#include "score.h"

namespace {

struct TestlibResult {
  int status;
  const char* plain;  // the line's first words
  const char* xml;    // the outcome's name in the XML result
};

constexpr TestlibResult Ok{regs::TestlibOk, "ok", "accepted"},
    WrongAnswer{regs::TestlibWrongAnswer, "wrong answer", "wrong-answer"},
    PresentationError{regs::TestlibPresentationError, "wrong output format", "presentation-error"},
    Fail{regs::TestlibFail, "FAIL", "fail"}, Points{regs::TestlibPoints, "points", "points"};

// The verdict goes into the result file when one is named (as XML with
// -appes), and as a line to standard error. A named result file carries the
// verdict, so that standard error is then a copy for the logs, and a copy
// that cannot be written (standard error closed or full) leaves the verdict
// as it is; without one, standard error is all, and a line not written there
// is a failure. Every other file is closed by then, so a closed standard
// error never writes into one of them.
int report(const TestlibResult& outcome, const std::string& message, const regs::TestlibCall& call,
           const char* points = nullptr) {
  const std::string line = std::string(outcome.plain) + " " + message + "\n";
  char err[regs::ErrSize];
  if (call.result) {
    // Points, as testlib gives them, also stand in an attribute of the XML result.
    const std::string attribute = points ? std::string("\" points = \"") + points : "";
    const std::string xml =
        std::string("<?xml version=\"1.0\" encoding=\"windows-1251\"?><result outcome = \"") + outcome.xml +
        attribute + "\">" + regs::xml_escaped(message) + "</result>\n";
    if (!regs::write_file(call.result, call.xml ? xml : line, err)) {
      std::fprintf(stderr, "FAIL cannot write the result file %s\n", call.result);
      return Fail.status;
    }
  }
  return regs::write_all(stderr, line, err) || call.result ? outcome.status : Fail.status;
}

// The outcome of a judged answer: an output that is not an answer at all is
// at fault in its form, not in its content.
const TestlibResult& outcome_of(const regs::Judgement& j) {
  if (j.verdict == regs::Verdict::Accepted) return Ok;
  if (j.verdict != regs::Verdict::Rejected) return Fail;
  return j.fault.kind == regs::FaultKind::SyntaxError ? PresentationError : WrongAnswer;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef CMS
  return regs::cms_main(argc, argv, BRANNIK_SCORE);
#endif
  regs::ignore_broken_pipes();
  regs::TestlibCall call;
  char err[regs::ErrSize];
  if (!regs::read_testlib_call(argc, argv, BRANNIK_SCORE, call, err)) return report(Fail, err, call);

  const regs::Judgement j = regs::judge(call.input, call.output, call.answer);
  const regs::Score score = regs::score_of(j, call.form);
  if (score.partial) return report(Points, score.text + (" " + score.line.words()), call, score.text);
  const TestlibResult& outcome = outcome_of(j);
  const std::string message = j.verdict == regs::Verdict::Accepted   ? "total cost " + std::to_string(j.total)
                              : j.verdict == regs::Verdict::Rejected ? regs::answer_line(j).words()
                                                                     : regs::verdict_line(j).words();
  return report(outcome, message, call);
}
