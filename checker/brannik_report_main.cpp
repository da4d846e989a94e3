// brannik-report: the register package's report. Runs every built submission
// on every test of the package as problemtools runs it, judges the outputs,
// and writes the grid of the runs and the rows of the coverage plan with the
// tests that reach them into <package-dir>/report.md and, as a page for a
// browser, report.html; prints the Markdown too.
// Usage: brannik-report [--plan <file>] <package-dir> <programs-dir> <memory-MiB>
// A program is <programs-dir>/<folder>/<name>, built from the package's
// submissions/<folder>/<name>.cpp.
#include <cstdio>
#include <string>
#include <utility>

#include "coverage.h"
#include "descriptors.h"
#include "exit_status.h"
#include "output.h"
#include "regs.h"
#include "report.h"

int main(int argc, char** argv) {
  regs::ReportCall call;
  char err[regs::ErrSize];
  if (!regs::read_report_call(argc, argv, call, err)) return std::fprintf(stderr, "%s\n", err), regs::NotDone;
  if (regs::reopen_standard_descriptors().failed) return regs::NotDone;
  regs::Report report;
  if (!call.plan.empty()) {
    std::string text;
    if (!regs::file_text(call.plan, text))
      return std::fprintf(stderr, "brannik-report: cannot read %s\n", call.plan.c_str()), regs::NotDone;
    if (!regs::read_plan(text, report.plan, err))
      return std::fprintf(stderr, "brannik-report: %s: %s\n", call.plan.c_str(), err), regs::NotDone;
  }
  if (!regs::make_report(call, report, err))
    return std::fprintf(stderr, "brannik-report: %s\n", err), regs::NotDone;
  for (const std::string& line : report.off_verdicts)
    std::fprintf(stderr, "brannik-report: %s\n", line.c_str());
  const std::vector<std::string> unmet = regs::unmet_rows(report.plan, report.tests);
  for (const std::string& line : unmet)
    std::fprintf(stderr, "brannik-report: the coverage plan's %s\n", line.c_str());
  const std::string text = regs::report_text(report);
  for (const auto& [name, contents] :
       {std::pair{"/report.md", text}, {"/report.html", regs::report_html(report)}})
    if (!regs::write_file((call.package + name).c_str(), contents, err))
      return std::fprintf(stderr, "brannik-report: cannot write %s%s: %s\n", call.package.c_str(), name, err),
             regs::NotDone;
  if (!regs::write_all(stdout, text, err))
    return std::fprintf(stderr, "brannik-report: cannot write the report: %s\n", err), regs::NotDone;
  if (!report.off_verdicts.empty()) return regs::OffVerdict;
  if (!unmet.empty()) return regs::PlanUnmet;
  return regs::Done;
}
