// The package's report as a grid, submissions down and tests across, written
// as a page for a browser and as Markdown.
#pragma once

#include <string>
#include <vector>

#include "report.h"

namespace regs {

// A test's column: its short header ("s1" for sample/1, "05" for
// secret/05-chain-one-register) and its name.
struct Column {
  std::string group, header, name;
};

// A run in the grid, its verdict by name.
struct Cell {
  std::string verdict;
  double seconds = 0;
  std::string message;
  bool first = false;  // the submission's first run that is not AC
};

// A submission's row: the verdict its folder asks for ("" when none), the
// verdict it gets, and its runs in column order.
struct GridRow {
  std::string folder, file;  // "wrong_answer", "given-order.cpp"
  std::string expected, verdict;
  bool off = false;  // the verdict is not its folder's
  std::vector<Cell> cells;
};

struct Page {
  std::string intro;  // how the runs were made, one paragraph
  std::vector<Column> columns;
  std::vector<GridRow> rows;
  std::vector<Coverage> coverage;
};

// The grid of the report's runs, a submission's runs together as make_report
// gives them.
Page page_of(const Report& report, std::string intro, std::vector<Coverage> coverage);

// The grid with the first failures bold, a key of the columns, the reason of
// each first failure, and what the tests cover.
std::string page_markdown(const Page& page);

// A self-contained HTML page: the grid coloured by verdict, messages on
// hover, what the tests cover, and a legend.
std::string page_html(const Page& page);

}  // namespace regs
