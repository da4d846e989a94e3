// The register package's report: the runs judged, and the coverage plan's rows the tests reach.
#include "report.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "judge_run.h"
#include "regs.h"
#include "report_page.h"
#include "runner.h"

namespace regs {

namespace {

// The figures of the task that read_task left in memory.
void task_facts(TestFacts& t) {
  t.N = N;
  t.C_l = C_l;
  t.C_s = C_s;
  t.nodes = M;
  for (int number = 1; number <= M; ++number)
    t.base += node_map[number]->K == 0 ? C_l : node_map[number]->cost;
  measure_task(t.reach);
}

}  // namespace

int read_test(std::string_view in, std::string_view ans, TestFacts& facts, char* err) {
  LineReader task(in);
  char reason[ErrSize] = "";
  if (!read_task(task, reason)) return refuse(err, "Error in input file: %s", reason);
  task_facts(facts);
  delete_data();

  Trace trace;
  const Judgement jury = judge(Input::memory(in), Input::memory(ans), nullptr, &trace);
  if (jury.verdict == Verdict::Rejected)
    return refuse(err, "Error in jury's answer: %s", answer_line(jury).words().c_str());
  if (jury.verdict != Verdict::Accepted) return refuse(err, "%s", verdict_line(jury).words().c_str());
  facts.least = jury.total;
  measure_answer(trace, jury.total, facts.reach);
  return 1;
}

const char* verdict_name(SystemVerdict verdict) {
  constexpr const char* Names[] = {"AC", "WA", "TLE", "RTE", "MLE", "JE", "OLE"};
  return Names[static_cast<int>(verdict)];
}

std::optional<SystemVerdict> expected_of(const std::string& folder) {
  if (folder == "accepted") return SystemVerdict::AC;
  if (folder == "wrong_answer") return SystemVerdict::WA;
  if (folder == "time_limit_exceeded") return SystemVerdict::TLE;
  if (folder == "run_time_error") return SystemVerdict::RTE;
  return std::nullopt;
}

Run run_of(const Judgement& j, const TestFacts& test) {
  Run run;
  run.test = test.name;
  run.least_stores = test.stores_of(test.least);
  switch (j.verdict) {
    case Verdict::Accepted:
      break;
    case Verdict::Rejected:
      run.verdict = SystemVerdict::WA;
      run.message = answer_line(j).words();
      break;
    case Verdict::RunFailed:
      run.verdict = j.fault.kind == FaultKind::TimeLimit     ? SystemVerdict::TLE
                    : j.fault.kind == FaultKind::MemoryLimit ? SystemVerdict::MLE
                    : j.fault.kind == FaultKind::OutputLimit ? SystemVerdict::OLE
                                                             : SystemVerdict::RTE;
      run.message = j.message;
      break;
    default:
      run.verdict = SystemVerdict::JE;
      run.message = verdict_line(j).words();
  }
  // A valid schedule whose claim or cost is wrong still has its stores.
  const FaultKind kind = j.fault.kind;
  if (j.verdict == Verdict::Accepted || kind == FaultKind::IncorrectTotal || kind == FaultKind::Dearer ||
      kind == FaultKind::NotOptimal)
    run.stores = test.stores_of(j.total);
  return run;
}

SystemVerdict verdict_of(const std::vector<Run>& runs) {
  for (const Run& run : runs)
    if (run.verdict != SystemVerdict::AC) return run.verdict;
  return SystemVerdict::AC;
}

namespace {

// The names of the tests that reach the row, in test order.
std::vector<std::string> tests_reaching(const PlanRow& row, const std::vector<TestFacts>& tests) {
  std::vector<std::string> names;
  for (const TestFacts& t : tests)
    if (reaches(row, t.reach)) names.push_back(t.name);
  return names;
}

std::string listed(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

}  // namespace

std::vector<Coverage> plan_reached(const std::vector<PlanRow>& plan, const std::vector<TestFacts>& tests) {
  std::vector<Coverage> rows;
  for (const PlanRow& row : plan) {
    Coverage c{row.conditions + ": " + row.purpose, tests_reaching(row, tests), "none"};
    if (!row.unreachable.empty()) {
      c.reason = "unreachable: " + row.unreachable;
      if (!c.tests.empty()) c.reason += " (yet reached by " + listed(c.tests) + ")";
      c.tests.clear();
    }
    rows.push_back(c);
  }
  return rows;
}

std::vector<std::string> unmet_rows(const std::vector<PlanRow>& plan, const std::vector<TestFacts>& tests) {
  std::vector<std::string> unmet;
  for (const PlanRow& row : plan) {
    const std::string names = listed(tests_reaching(row, tests));
    const std::string name =
        "line " + std::to_string(row.line) + ": " + row.conditions + " (" + row.purpose + ")";
    if (row.unreachable.empty() && names.empty()) unmet.push_back(name + " is reached by no test");
    if (!row.unreachable.empty() && !names.empty())
      unmet.push_back(name + " is marked unreachable, yet " + names + " reach it");
  }
  return unmet;
}

namespace {

namespace fs = std::filesystem;

// The entries of a folder that `keep` takes, by name; none when it cannot be read.
template <class Keep>
std::vector<fs::path> entries_of(const fs::path& folder, Keep keep) {
  std::vector<fs::path> paths;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
    if (keep(*entry, error)) paths.push_back(entry->path());
  std::sort(paths.begin(), paths.end());
  return paths;
}

// The files of a folder with the given extension ("" for any), by name.
std::vector<fs::path> files_of(const fs::path& folder, const std::string& extension) {
  return entries_of(folder, [&](const fs::directory_entry& entry, std::error_code& error) {
    return entry.is_regular_file(error) && (extension.empty() || entry.path().extension() == extension);
  });
}

// The submissions' folders, accepted first, then by name.
std::vector<fs::path> folders_of(const fs::path& programs) {
  std::vector<fs::path> folders = entries_of(
      programs,
      [](const fs::directory_entry& entry, std::error_code& error) { return entry.is_directory(error); });
  std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) {
    return std::make_pair(a.filename() != "accepted", a) < std::make_pair(b.filename() != "accepted", b);
  });
  return folders;
}

fs::path answer_of(fs::path in) { return in.replace_extension(".ans"); }

// A run's wall-clock deadline, in time limits: there a run that waits rather
// than computes ends.
constexpr int DeadlineLimits = 3;

}  // namespace

int file_text(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream read;
  read << file.rdbuf();
  text = read.str();
  return file.good() || file.eof() ? 1 : 0;
}

int read_package(const std::string& package_dir, PackageTests& tests, char* err) {
  const fs::path package = package_dir;
  std::string limit;
  if (!file_text(package / ".timelimit", limit) || !read_seconds(limit, tests.seconds))
    return refuse(err, "no time limit: %s holds no number of seconds", (package / ".timelimit").c_str());
  for (const char* group : {"sample", "secret"})
    for (const fs::path& in : files_of(package / "data" / group, ".in")) {
      TestFacts t;
      t.name = std::string(group) + "/" + in.stem().string();
      std::string text, answer;
      char reason[ErrSize];
      if (!file_text(in, text) || !file_text(answer_of(in), answer))
        return refuse(err, "%s: cannot be read", t.name.c_str());
      if (!read_test(text, answer, t, reason)) return refuse(err, "%s: %s", t.name.c_str(), reason);
      tests.facts.push_back(t);
      tests.inputs.push_back(std::move(text));
      tests.answers.push_back(std::move(answer));
    }
  if (tests.facts.empty()) return refuse(err, "the package has no tests");
  return 1;
}

RunLimits submission_limits(double seconds, long memory_mib) {
  return {.seconds = DeadlineLimits * seconds,
          .cpu_seconds = seconds,
          .memory_mib = memory_mib,
          .raise_stack = true};
}

int make_report(const ReportCall& call, Report& report, char* err) {
  const fs::path programs = call.programs;
  report.memory_mib = call.memory_mib;
  PackageTests package;
  if (!read_package(call.package, package, err)) return 0;
  report.seconds = package.seconds;
  report.tests = package.facts;
  const std::vector<std::string>& inputs = package.inputs;
  const std::vector<std::string>& answers = package.answers;
  std::error_code error;
  if (!fs::is_directory(programs, error))
    return refuse(err, "%s is not a folder of programs", programs.c_str());

  const RunLimits limits = submission_limits(report.seconds, call.memory_mib);
  for (const fs::path& folder : folders_of(programs)) {
    for (const fs::path& program : files_of(folder, "")) {
      std::vector<Run> own(report.tests.size());
      for (std::size_t i = 0; i < report.tests.size(); ++i) {
        Ending ending;
        if (!run_solution({program.string()}, inputs[i], limits, ending, err)) return 0;
        own[i] = run_of(judge_run(ending, limits, inputs[i], answers[i]), report.tests[i]);
        own[i].submission = folder.filename().string() + "/" + program.filename().string() + ".cpp";
        own[i].seconds = ending.cpu_seconds;
      }
      const auto expected = expected_of(folder.filename().string());
      if (!expected || verdict_of(own) != *expected)
        report.off_verdicts.push_back(own[0].submission + " gets " + verdict_name(verdict_of(own)) +
                                      ", its folder asks for " +
                                      (expected ? verdict_name(*expected) : "none"));
      report.runs.insert(report.runs.end(), own.begin(), own.end());
    }
  }
  return 1;
}

namespace {

Page described(const Report& report) {
  char intro[1024];
  std::snprintf(intro, sizeof intro,
                "Every submission on every test, run as problemtools runs it: within the package's time "
                "limit, %g s of processor time; within its memory limit, %ld MiB of address space, as the "
                "judging systems limit it; the stack as large as the system allows. A submission's verdict "
                "is that of its first run that is not AC.",
                report.seconds, report.memory_mib);
  return page_of(report, intro, plan_reached(report.plan, report.tests));
}

}  // namespace

std::string report_text(const Report& report) { return page_markdown(described(report)); }

std::string report_html(const Report& report) { return page_html(described(report)); }

}  // namespace regs
