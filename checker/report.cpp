// The register package's report: the runs judged, and the limits the tests reach.
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
  t.lowest_cost = INT_MAX;
  t.highest_cost = INT_MIN;
  std::vector<int> level(M + 1, 1);  // pre-order: a node's level is known before its children's
  for (int number = 1; number <= M; ++number) {
    const Node* v = node_map[number];
    t.levels = std::max(t.levels, level[number]);
    if (v->K == 0) {
      t.base += C_l;
      continue;
    }
    t.base += v->cost;
    t.lowest_cost = std::min(t.lowest_cost, v->cost);
    t.highest_cost = std::max(t.highest_cost, v->cost);
    t.widest = std::max(t.widest, v->K);
    t.k_is_n = t.k_is_n || v->K == N;
    for (int i = 0; i < v->K; ++i) level[v->children[i]->number] = level[number] + 1;
  }
}

struct Limit {
  const char* name;
  bool (*reached)(const TestFacts&);
};

constexpr Limit Limits[] = {
    {"N = 1", [](const TestFacts& t) { return t.N == 1; }},
    {"N = 100", [](const TestFacts& t) { return t.N == MaxRegisters; }},
    {"K = 10", [](const TestFacts& t) { return t.widest == MaxChildren; }},
    {"K = N", [](const TestFacts& t) { return t.k_is_n; }},
    {"10000 nodes", [](const TestFacts& t) { return t.nodes == MaxNodes; }},
    {"10000 levels", [](const TestFacts& t) { return t.levels == MaxNodes; }},
    {"a cost of -2147483648", [](const TestFacts& t) { return t.lowest_cost == INT_MIN; }},
    {"a cost of 2147483647", [](const TestFacts& t) { return t.highest_cost == INT_MAX; }},
    {"C_l and C_s at 2147483647", [](const TestFacts& t) { return t.C_l == INT_MAX && t.C_s == INT_MAX; }},
    {"a least total beyond 32 bits",
     [](const TestFacts& t) { return t.least < INT_MIN || t.least > INT_MAX; }},
    {"no store needed", [](const TestFacts& t) { return t.stores_of(t.least) == 0; }},
    {"at least 100 stores needed", [](const TestFacts& t) { return t.stores_of(t.least) >= 100; }},
};

}  // namespace

int read_test(std::string_view in, std::string_view ans, TestFacts& facts, char* err) {
  LineReader task(in);
  char reason[ErrSize] = "";
  if (!read_task(task, reason)) return refuse(err, "Error in input file: %s", reason);
  task_facts(facts);
  delete_data();

  const Judgement jury = judge(Input::memory(in), Input::memory(ans));
  if (jury.verdict == Verdict::Rejected)
    return refuse(err, "Error in jury's answer: %s", answer_line(jury).words().c_str());
  if (jury.verdict != Verdict::Accepted) return refuse(err, "%s", verdict_line(jury).words().c_str());
  facts.least = jury.total;
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

std::vector<Coverage> limits_reached(const std::vector<TestFacts>& tests) {
  std::vector<Coverage> rows;
  for (const Limit& limit : Limits) {
    rows.push_back({limit.name, {}, "no test reaches it"});
    for (const TestFacts& t : tests)
      if (limit.reached(t)) rows.back().tests.push_back(t.name);
  }
  return rows;
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

// A whole file's text: 1, or 0 when it cannot be read.
int text_of(const fs::path& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream read;
  read << file.rdbuf();
  text = read.str();
  return file.good() || file.eof() ? 1 : 0;
}

// A run's wall-clock deadline, in time limits: there a run that waits rather
// than computes ends.
constexpr int DeadlineLimits = 3;

}  // namespace

int make_report(const ReportCall& call, Report& report, char* err) {
  const fs::path package = call.package, programs = call.programs;
  report.memory_mib = call.memory_mib;
  std::string limit;
  if (!text_of(package / ".timelimit", limit) || !read_seconds(limit, report.seconds))
    return refuse(err, "no time limit: %s holds no number of seconds", (package / ".timelimit").c_str());
  std::vector<std::string> inputs, answers;
  for (const char* group : {"sample", "secret"})
    for (const fs::path& in : files_of(package / "data" / group, ".in")) {
      TestFacts t;
      t.name = std::string(group) + "/" + in.stem().string();
      std::string text, answer;
      char reason[ErrSize];
      if (!text_of(in, text) || !text_of(answer_of(in), answer))
        return refuse(err, "%s: cannot be read", t.name.c_str());
      if (!read_test(text, answer, t, reason)) return refuse(err, "%s: %s", t.name.c_str(), reason);
      report.tests.push_back(t);
      inputs.push_back(std::move(text));
      answers.push_back(std::move(answer));
    }
  if (report.tests.empty()) return refuse(err, "the package has no tests");
  std::error_code error;
  if (!fs::is_directory(programs, error))
    return refuse(err, "%s is not a folder of programs", programs.c_str());

  const RunLimits limits{.seconds = DeadlineLimits * report.seconds,
                         .cpu_seconds = report.seconds,
                         .memory_mib = call.memory_mib,
                         .raise_stack = true};
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
  return page_of(report, intro, limits_reached(report.tests));
}

}  // namespace

std::string report_text(const Report& report) { return page_markdown(described(report)); }

std::string report_html(const Report& report) { return page_html(described(report)); }

}  // namespace regs
