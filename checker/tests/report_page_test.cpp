// The report's grid: in Markdown, and the page as a browser renders it.
#include "report_page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "support.h"

namespace {

using V = regs::SystemVerdict;

// A run of the small report, and whether it is its submission's first failure.
struct Ran {
  const char* submission;
  const char* test;
  V outcome;
  double seconds;
  const char* message;
  bool first;
};

// Three tests; a submission in each kind of folder, one off its folder's
// verdict, one in a folder of no verdict; messages and names that HTML or a
// Markdown table would take for their own.
const Ran Runs[] = {
    {"accepted/right.cpp", "sample/1", V::AC, 0.004, "", false},
    {"accepted/right.cpp", "secret/01-small", V::AC, 0.01, "", false},
    {"accepted/right.cpp", "secret/big", V::AC, 0.123, "", false},
    {"accepted/<b>slow</b>.cpp", "sample/1", V::AC, 0, "", false},
    {"accepted/<b>slow</b>.cpp", "secret/01-small", V::TLE, 1.5, "", true},
    {"accepted/<b>slow</b>.cpp", "secret/big", V::RTE, 0.2, "signal 11", false},
    {"wrong_answer/a.cpp", "sample/1", V::AC, 0, "", false},
    {"wrong_answer/a.cpp", "secret/01-small", V::WA, 0.02, "total | </td><td>x & \"y\"", true},
    {"wrong_answer/a.cpp", "secret/big", V::WA, 0.3, "total cost 15, the least is 11", false},
    {"spare/c.cpp", "sample/1", V::JE, 0, "Error in jury's answer: not optimal", true},
    {"spare/c.cpp", "secret/01-small", V::OLE, 0, "more than 16777216 bytes", false},
    {"spare/c.cpp", "secret/big", V::AC, 0, "", false},
};

regs::Report small_report() {
  regs::Report report;
  for (const char* name : {"sample/1", "secret/01-small", "secret/big"}) {
    report.tests.emplace_back();
    report.tests.back().name = name;
  }
  for (const Ran& r : Runs) report.runs.push_back({r.submission, r.test, r.outcome, r.seconds, r.message});
  return report;
}

const std::vector<regs::Coverage> Covered = {{"N = 1", {"secret/big"}, ""},
                                             {"K = 10", {}, "no test reaches it"}};

TEST(ReportPage, WritesTheGridInMarkdown) {
  EXPECT_EQ(regs::page_markdown(regs::page_of(small_report(), "How.", Covered)),
            "# The register package's report\n\nHow.\n\n"
            "| submission | expected | verdict | s1 | 01 | 2 |\n"
            "|---|---|---|---|---|---|\n"
            "| accepted/right.cpp | AC | AC | AC 0.00 | AC 0.01 | AC 0.12 |\n"
            "| accepted/<b>slow</b>.cpp | AC | TLE (off) | AC 0.00 | **TLE 1.50** | RTE 0.20 |\n"
            "| wrong_answer/a.cpp | WA | WA | AC 0.00 | **WA 0.02** | WA 0.30 |\n"
            "| spare/c.cpp | none | JE (off) | **JE 0.00** | OLE 0.00 | AC 0.00 |\n"
            "\nA cell is the verdict and the processor time in seconds; bold, the submission's first run "
            "that is not AC; (off), a verdict that is not the one its folder asks for.\n\n"
            "| column | test |\n|---|---|\n"
            "| s1 | sample/1 |\n| 01 | secret/01-small |\n| 2 | secret/big |\n"
            "\n## The first failure of each submission\n\n"
            "- accepted/<b>slow</b>.cpp on secret/01-small: TLE\n"
            "- wrong_answer/a.cpp on secret/01-small: WA, total | </td><td>x & \"y\"\n"
            "- spare/c.cpp on sample/1: JE, Error in jury's answer: not optimal\n"
            "\n## The coverage plan\n\n| row: what it is there for | tests that reach it |\n|---|---|\n"
            "| N = 1 | secret/big |\n| K = 10 | no test reaches it |\n");
}

// What Chromium's serialised DOM holds as an attribute's or a cell's text.
std::string unescaped(std::string text) {
  for (const auto& [entity, c] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
    text = std::regex_replace(text, std::regex(entity), c);
  return text;
}

std::string attribute(const std::string& attributes, const std::string& name) {
  std::smatch m;
  return std::regex_search(attributes, m, std::regex(" " + name + "=\"([^\"]*)\"")) ? unescaped(m[1]) : "";
}

struct Rendered {
  std::string attributes, text;
};

// The rows of the grid's bodies, their cells, as Chromium rendered the page.
std::vector<std::vector<Rendered>> rendered_rows(const std::string& dom) {
  std::vector<std::vector<Rendered>> rows;
  const std::regex row("<tr>(.*?)</tr>"), cell("<t[dh]((?: [a-z]+=\"[^\"]*\")*)>(.*?)</t[dh]>");
  const std::string grid = dom.substr(dom.find("</thead>"), dom.find("</table>") - dom.find("</thead>"));
  for (std::sregex_iterator r(grid.begin(), grid.end(), row), end; r != end; ++r) {
    const std::string cells = (*r)[1];
    rows.emplace_back();
    for (std::sregex_iterator c(cells.begin(), cells.end(), cell); c != end; ++c)
      rows.back().push_back({(*c)[1], unescaped((*c)[2])});
  }
  return rows;
}

// Chromium, run headless on the page, renders every run in its row and
// column, with its verdict's class, its time and its message, the first
// failure and the verdicts off their folders' marked.
TEST(ReportPage, ChromiumRendersEveryRunInTheGrid) {
  const support::ScratchDir dir;
  support::write_file(dir.path + "/report.html",
                      regs::page_html(regs::page_of(small_report(), "How <runs> are made.", Covered)));
  const support::ShellRun chromium = support::run_shell(
      dir.path, std::string(CHROMIUM) +
                    " --headless --no-sandbox --disable-gpu --user-data-dir=profile --dump-dom file://" +
                    dir.path + "/report.html");
  ASSERT_EQ(chromium.status, 0) << chromium.err;
  EXPECT_NE(chromium.out.find("<p>How &lt;runs&gt; are made.</p>"), std::string::npos);
  EXPECT_NE(chromium.out.find("<td>K = 10</td><td class=\"none\">no test reaches it</td>"),
            std::string::npos);

  const struct {
    const char* submission;
    const char* expected;
    bool off;
  } submissions[] = {{"accepted/right.cpp", "AC", false},
                     {"accepted/<b>slow</b>.cpp", "AC", true},
                     {"wrong_answer/a.cpp", "WA", false},
                     {"spare/c.cpp", "none", true}};
  const auto rows = rendered_rows(chromium.out);
  ASSERT_EQ(rows.size(), std::size(submissions));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    const auto& s = submissions[i];
    ASSERT_EQ(row.size(), 3 + 3u) << s.submission;
    EXPECT_EQ(attribute(row[0].attributes, "title"), s.submission);
    EXPECT_EQ(row[1].text, s.expected);
    EXPECT_EQ(attribute(row[2].attributes, "class").ends_with(" off"), s.off) << s.submission;
    for (std::size_t j = 0; j < 3; ++j) {
      const Ran& run = Runs[3 * i + j];
      const std::string verdict = regs::verdict_name(run.outcome);
      char time[16];
      std::snprintf(time, sizeof time, "%.2f", run.seconds);
      const Rendered& cell = row[3 + j];
      EXPECT_EQ(attribute(cell.attributes, "class"), "verdict-" + verdict + (run.first ? " first" : ""))
          << run.submission << " " << run.test;
      EXPECT_EQ(cell.text, verdict + "<small>" + time + "</small>") << run.submission << " " << run.test;
      EXPECT_EQ(
          attribute(cell.attributes, "title"),
          std::string(run.test) + ": " + verdict + (*run.message ? std::string(", ") + run.message : ""));
    }
  }
}

}  // namespace
