// The package's report as a grid: the model built once from the runs, and its
// two writers, a page for a browser and Markdown.
#include "report_page.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "output.h"

namespace regs {

namespace {

constexpr const char* Title = "The register package's report";

// What each verdict means, for the page's legend.
constexpr std::pair<const char*, const char*> Verdicts[] = {
    {"AC", "accepted"},
    {"WA", "wrong answer"},
    {"TLE", "beyond the time limit, or still running at the wall-clock deadline"},
    {"RTE", "ended by a signal or an exit status other than 0"},
    {"MLE", "beyond the memory limit, where a run's memory is measured"},
    {"OLE", "more output than a run's output is cut at"},
    {"JE", "judging error: the jury's answer is at fault"},
};

// The test's short header: its number, the leading digits of its name, or
// else its place in its group; "s" before a sample's.
std::string header_of(const std::string& group, const std::string& stem, int place) {
  std::string number = stem.substr(0, stem.find_first_not_of("0123456789"));
  if (number.empty()) number = std::to_string(place);
  return (group == "sample" ? "s" : "") + number;
}

std::string seconds_text(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", seconds);
  return text;
}

// The tests of a row of what the tests cover, or why none does.
std::string covered_by(const Coverage& c) {
  std::string names;
  for (const std::string& test : c.tests) names += (names.empty() ? "" : ", ") + test;
  return names.empty() ? c.reason : names;
}

// Text for a Markdown table's cell: a bar would end the cell.
std::string md_cell(const std::string& text) {
  std::string out;
  for (const char c : text) out += c == '|' ? std::string("\\|") : std::string(1, c);
  return out;
}

std::string md_row(const std::vector<std::string>& cells) {
  std::string row = "|";
  for (const std::string& cell : cells) row += " " + cell + " |";
  return row + "\n";
}

}  // namespace

Page page_of(const Report& report, std::string intro, std::vector<Coverage> coverage) {
  Page page{std::move(intro), {}, {}, std::move(coverage)};
  for (const TestFacts& t : report.tests) {
    const auto slash = t.name.find('/');
    const std::string group = slash == std::string::npos ? "" : t.name.substr(0, slash);
    const int place = 1 + std::count_if(page.columns.begin(), page.columns.end(),
                                        [&](const Column& c) { return c.group == group; });
    page.columns.push_back({group, header_of(group, t.name.substr(slash + 1), place), t.name});
  }
  for (auto first = report.runs.begin(); first != report.runs.end();) {
    const auto last = std::find_if(first, report.runs.end(),
                                   [&](const Run& r) { return r.submission != first->submission; });
    const std::string& name = first->submission;
    const auto slash = name.find('/');
    GridRow row;
    row.folder = slash == std::string::npos ? "" : name.substr(0, slash);
    row.file = name.substr(slash + 1);
    const auto expected = expected_of(row.folder);
    row.expected = expected ? verdict_name(*expected) : "";
    const SystemVerdict verdict = verdict_of({first, last});
    row.verdict = verdict_name(verdict);
    row.off = !expected || *expected != verdict;
    // A test without a run of this submission keeps an empty cell.
    row.cells.resize(page.columns.size());
    bool failed = false;
    for (auto run = first; run != last; ++run) {
      const auto column = std::find_if(page.columns.begin(), page.columns.end(),
                                       [&](const Column& c) { return c.name == run->test; });
      if (column == page.columns.end()) continue;
      Cell& cell = row.cells[column - page.columns.begin()];
      cell = {verdict_name(run->verdict), run->seconds, run->message, false};
      if (!failed && run->verdict != SystemVerdict::AC) failed = cell.first = true;
    }
    page.rows.push_back(std::move(row));
    first = last;
  }
  return page;
}

std::string page_markdown(const Page& page) {
  std::vector<std::string> head = {"submission", "expected", "verdict"};
  for (const Column& c : page.columns) head.push_back(c.header);
  std::string text = std::string("# ") + Title + "\n\n" + page.intro + "\n\n" + md_row(head) + "|";
  for (std::size_t i = 0; i < head.size(); ++i) text += "---|";
  text += "\n";
  std::string failures;
  for (const GridRow& row : page.rows) {
    const std::string name = md_cell(row.folder + "/" + row.file);
    std::vector<std::string> cells = {name, row.expected.empty() ? "none" : row.expected,
                                      row.verdict + (row.off ? " (off)" : "")};
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
      const Cell& cell = row.cells[i];
      const std::string shown = cell.verdict.empty() ? "-" : cell.verdict + " " + seconds_text(cell.seconds);
      cells.push_back(cell.first ? "**" + shown + "**" : shown);
      if (cell.first)
        failures += "- " + name + " on " + page.columns[i].name + ": " + cell.verdict +
                    (cell.message.empty() ? "" : ", " + cell.message) + "\n";
    }
    text += md_row(cells);
  }
  text +=
      "\nA cell is the verdict and the processor time in seconds; bold, the submission's first run that is "
      "not AC; (off), a verdict that is not the one its folder asks for.\n\n"
      "| column | test |\n|---|---|\n";
  for (const Column& c : page.columns) text += md_row({c.header, md_cell(c.name)});
  if (!failures.empty()) text += "\n## The first failure of each submission\n\n" + failures;
  text += "\n## The coverage plan\n\n| row: what it is there for | tests that reach it |\n|---|---|\n";
  for (const Coverage& c : page.coverage) text += md_row({md_cell(c.what), md_cell(covered_by(c))});
  return text;
}

namespace {

// Each submission's columns stay in sight, stuck at the left, while a wide
// grid scrolls.
constexpr const char* Style = R"(body { font: 14px/1.4 sans-serif; margin: 1em 1.5em; color: #222; }
.grid { overflow-x: auto; border: 1px solid #bbb; margin: 1em 0; width: fit-content; max-width: 100%; }
.grid table { border-collapse: separate; border-spacing: 0; }
.grid th, .grid td { font-size: 12px; padding: 2px 4px; border: 0 solid #ddd; border-width: 0 1px 1px 0;
  text-align: center; white-space: nowrap; }
.grid td small { display: block; font-size: 10px; color: #444; }
.grid thead th { background: #eee; font-weight: normal; }
.grid .name, .grid .expected, .grid .verdict { position: sticky; z-index: 1; background: #fff;
  box-sizing: border-box; overflow: hidden; text-overflow: ellipsis; }
.grid .name { left: 0; width: 17em; min-width: 17em; max-width: 17em; text-align: left; }
.grid .expected { left: 17em; width: 5.5em; min-width: 5.5em; max-width: 5.5em; }
.grid .verdict { left: 22.5em; width: 5.5em; min-width: 5.5em; max-width: 5.5em; border-right: 2px solid #888; }
.grid thead .name, .grid thead .expected, .grid thead .verdict { background: #eee; z-index: 2; }
.grid tr.folder th { position: sticky; left: 0; text-align: left; background: #f6f6f6;
  font-weight: bold; padding-top: 6px; }
.grid tr.folder td { background: #f6f6f6; }
.verdict-AC { background: #c8e6c9 !important; }
.verdict-WA { background: #ffcdd2 !important; }
.verdict-TLE { background: #ffe0b2 !important; }
.verdict-RTE { background: #e1bee7 !important; }
.verdict-MLE { background: #b3e5fc !important; }
.verdict-OLE { background: #fff59d !important; }
.verdict-JE { background: #90a4ae !important; color: #fff; }
.first { outline: 2px solid #000; outline-offset: -2px; font-weight: bold; }
.off { outline: 2px dashed #c62828; outline-offset: -3px; color: #c62828; font-weight: bold; }
table.cover, table.legend { border-collapse: collapse; }
table.cover th, table.cover td, table.legend td { border: 1px solid #ddd; padding: 2px 6px;
  text-align: left; vertical-align: top; }
table.legend td:first-child { text-align: center; width: 4em; }
.none { color: #c62828; font-style: italic; }
)";

std::string html_cell(const Cell& cell, const std::string& test) {
  if (cell.verdict.empty()) return "<td title=\"" + xml_escaped(test) + ": no run\">-</td>";
  const std::string why = cell.message.empty() ? "" : ", " + cell.message;
  return "<td class=\"verdict-" + xml_escaped(cell.verdict) + (cell.first ? " first" : "") + "\" title=\"" +
         xml_escaped(test + ": " + cell.verdict + why) + "\">" + xml_escaped(cell.verdict) + "<small>" +
         seconds_text(cell.seconds) + "</small></td>";
}

}  // namespace

std::string page_html(const Page& page) {
  const std::string width = std::to_string(page.columns.size());
  std::string html =
      std::string("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>") + Title +
      "</title>\n<style>\n" + Style + "</style>\n</head>\n<body>\n<h1>" + Title + "</h1>\n<p>" +
      xml_escaped(page.intro) + "</p>\n";

  html +=
      "<div class=\"grid\">\n<table>\n<thead>\n<tr><th class=\"name\" rowspan=\"2\">submission</th>"
      "<th class=\"expected\" rowspan=\"2\">expected</th><th class=\"verdict\" rowspan=\"2\">verdict</th>";
  for (auto first = page.columns.begin(); first != page.columns.end();) {
    const auto last =
        std::find_if(first, page.columns.end(), [&](const Column& c) { return c.group != first->group; });
    html += "<th colspan=\"" + std::to_string(last - first) + "\">" + xml_escaped(first->group) + "</th>";
    first = last;
  }
  html += "</tr>\n<tr>";
  for (const Column& c : page.columns)
    html += "<th title=\"" + xml_escaped(c.name) + "\">" + xml_escaped(c.header) + "</th>";
  html += "</tr>\n</thead>\n";

  for (auto first = page.rows.begin(); first != page.rows.end();) {
    const auto last =
        std::find_if(first, page.rows.end(), [&](const GridRow& r) { return r.folder != first->folder; });
    html += "<tbody>\n<tr class=\"folder\"><th colspan=\"3\">" + xml_escaped(first->folder) +
            "</th><td colspan=\"" + width + "\"></td></tr>\n";
    for (auto row = first; row != last; ++row) {
      const std::string name = row->folder + "/" + row->file;
      const std::string asks = row->expected.empty() ? "none" : row->expected;
      html += "<tr><th class=\"name\" title=\"" + xml_escaped(name) + "\">" + xml_escaped(row->file) +
              "</th><td class=\"expected\">" + xml_escaped(asks) + "</td><td class=\"verdict verdict-" +
              xml_escaped(row->verdict) +
              (row->off ? " off\" title=\"its folder asks for " + xml_escaped(asks) : "") + "\">" +
              xml_escaped(row->verdict) + "</td>";
      for (std::size_t i = 0; i < row->cells.size(); ++i)
        html += html_cell(row->cells[i], page.columns[i].name);
      html += "</tr>\n";
    }
    html += "</tbody>\n";
    first = last;
  }
  html += "</table>\n</div>\n";

  html +=
      "<h2>The coverage plan</h2>\n<table class=\"cover\">\n<tr><th>row: what it is there for</th>"
      "<th>tests that reach it</th></tr>\n";
  for (const Coverage& c : page.coverage)
    html += "<tr><td>" + xml_escaped(c.what) + "</td><td" + (c.tests.empty() ? " class=\"none\"" : "") + ">" +
            xml_escaped(covered_by(c)) + "</td></tr>\n";
  html += "</table>\n";

  html += "<h2>Legend</h2>\n<table class=\"legend\">\n";
  for (const auto& [verdict, meaning] : Verdicts)
    html += std::string("<tr><td class=\"verdict-") + verdict + "\">" + verdict + "</td><td>" + meaning +
            "</td></tr>\n";
  html +=
      "<tr><td class=\"first\">WA</td><td>the submission's first run that is not AC</td></tr>\n"
      "<tr><td class=\"off\">WA</td><td>a submission's verdict that is not the one its folder asks "
      "for</td></tr>\n"
      "<tr><td>-</td><td>no run of the submission on the test</td></tr>\n"
      "</table>\n<p>A cell is the verdict and the processor time in seconds; hover over it for the test's "
      "name and the reason.</p>\n</body>\n</html>\n";
  return html;
}

}  // namespace regs
