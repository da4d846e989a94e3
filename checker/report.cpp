// The register package's report: the runs judged, and the coverage plan's rows the tests reach.
#include "report.h"

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "judge.h"
#include "output.h"
#include "regs.h"
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

int read_test(const std::string& in, const std::string& ans, TestFacts& facts, char* err) {
  char reason[ErrSize] = "";
  std::FILE* file = std::fopen(in.c_str(), "r");
  if (!file) return std::snprintf(err, ErrSize, "Error in input file: failed opening file"), 0;
  const int read = read_task(file, reason);
  std::fclose(file);
  if (!read)
    return std::snprintf(err, ErrSize, "%s", (std::string("Error in input file: ") + reason).c_str()), 0;
  task_facts(facts);
  delete_data();

  Trace trace;
  const Judgement jury = judge(in.c_str(), ans.c_str(), nullptr, &trace);
  if (jury.verdict == Verdict::Rejected)
    return std::snprintf(err, ErrSize, "Error in jury's answer: %s", answer_line(jury).words().c_str()), 0;
  if (jury.verdict != Verdict::Accepted)
    return std::snprintf(err, ErrSize, "%s", verdict_line(jury).words().c_str()), 0;
  facts.least = jury.total;
  measure_answer(trace, jury.total, facts.reach);
  return 1;
}

const char* outcome_name(Outcome outcome) {
  constexpr const char* Names[] = {"AC", "WA", "TLE", "RTE", "JE", "OLE"};
  return Names[static_cast<int>(outcome)];
}

std::optional<Outcome> expected_of(const std::string& folder) {
  if (folder == "accepted") return Outcome::AC;
  if (folder == "wrong_answer") return Outcome::WA;
  if (folder == "time_limit_exceeded") return Outcome::TLE;
  if (folder == "run_time_error") return Outcome::RTE;
  return std::nullopt;
}

Run judge_output(const TestFacts& test, const std::string& in, const std::string& ans,
                 const std::string& out) {
  Run run;
  run.test = test.name;
  run.least = test.stores_of(test.least);
  const Judgement j = judge(in.c_str(), out.c_str(), ans.c_str());
  if (j.verdict == Verdict::Rejected) {
    run.outcome = Outcome::WA;
    run.message = answer_line(j).words();
  } else if (j.verdict != Verdict::Accepted) {
    run.outcome = Outcome::JE;
    run.message = verdict_line(j).words();
  }
  // Replayed alone, a valid schedule is accepted, or only its claim is wrong.
  const Judgement alone = judge(in.c_str(), out.c_str());
  if (alone.verdict == Verdict::Accepted ||
      (alone.verdict == Verdict::Rejected && alone.fault.kind == FaultKind::IncorrectTotal))
    run.stores = test.stores_of(alone.total);
  return run;
}

Outcome verdict_of(const std::vector<Run>& runs) {
  for (const Run& run : runs)
    if (run.outcome != Outcome::AC) return run.outcome;
  return Outcome::AC;
}

std::string runs_table(const std::vector<Run>& runs) {
  std::string table =
      "| submission | verdict | test | result | time (s) | stores | least |\n"
      "|---|---|---|---|---|---|---|\n";
  for (auto first = runs.begin(); first != runs.end();) {
    const auto last =
        std::find_if(first, runs.end(), [&](const Run& r) { return r.submission != first->submission; });
    const std::string& name = first->submission;
    std::string verdict = outcome_name(verdict_of({first, last}));
    const auto expected = expected_of(name.substr(0, name.find('/')));
    if (!expected || outcome_name(*expected) != verdict)
      verdict += std::string(" (its folder: ") + (expected ? outcome_name(*expected) : "none") + ")";
    for (auto run = first; run != last; ++run) {
      char time[32];
      std::snprintf(time, sizeof time, "%.2f", run->seconds);
      std::string result = outcome_name(run->outcome);
      if (!run->message.empty()) result += ": " + run->message;
      table += "| " + (run == first ? name + " | " + verdict : " | ") + " | " + run->test + " | " + result +
               " | " + time + " | " + (run->stores < 0 ? "-" : std::to_string(run->stores)) + " | " +
               std::to_string(run->least) + " |\n";
    }
    first = last;
  }
  return table;
}

namespace {

// The names of the tests that reach the row, in test order.
std::string tests_reaching(const PlanRow& row, const std::vector<TestFacts>& tests) {
  std::string names;
  for (const TestFacts& t : tests)
    if (reaches(row, t.reach)) names += (names.empty() ? "" : ", ") + t.name;
  return names;
}

}  // namespace

std::string plan_table(const std::vector<PlanRow>& plan, const std::vector<TestFacts>& tests) {
  std::string table =
      "| row | there for | tests that reach it |\n"
      "|---|---|---|\n";
  for (const PlanRow& row : plan) {
    const std::string names = tests_reaching(row, tests);
    std::string reached = names.empty() ? "**none**" : names;
    if (!row.unreachable.empty())
      reached = "unreachable: " + row.unreachable + (names.empty() ? "" : " (yet reached by " + names + ")");
    table += "| `" + row.conditions + "` | " + row.purpose + " | " + reached + " |\n";
  }
  return table;
}

std::vector<std::string> unmet_rows(const std::vector<PlanRow>& plan, const std::vector<TestFacts>& tests) {
  std::vector<std::string> unmet;
  for (const PlanRow& row : plan) {
    const std::string names = tests_reaching(row, tests);
    const std::string name =
        "line " + std::to_string(row.line) + ": " + row.conditions + " (" + row.purpose + ")";
    if (row.unreachable.empty() && names.empty()) unmet.push_back(name + " is reached by no test");
    if (!row.unreachable.empty() && !names.empty())
      unmet.push_back(name + " is marked unreachable, yet " + names + " reach it");
  }
  return unmet;
}

int read_report_call(int argc, char** argv, ReportCall& call, char* err) {
  if (argc > 2 && std::string_view(argv[1]) == "--plan") {
    call.plan = argv[2];
    argc -= 2;
    argv += 2;
  }
  const std::string_view memory = argc == 4 ? argv[3] : "";
  const char* end = memory.data() + memory.size();
  const auto read = std::from_chars(memory.data(), end, call.memory_mib);
  if (read.ec != std::errc() || read.ptr != end || call.memory_mib <= 0)
    return std::snprintf(err, ErrSize,
                         "usage: brannik-report [--plan <file>] <package-dir> <programs-dir> <memory-MiB>"),
           0;
  call.package = argv[1];
  call.programs = argv[2];
  return 1;
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

// A run that ended, judged as problemtools judges it: beyond the time limit
// TLE, ended by a signal or a status other than 0 RTE, cut OLE; otherwise its
// output is written to `out` and judged. 0 with the reason when it cannot be.
int judged(const Ending& e, int seconds, const TestFacts& test, const fs::path& in, const fs::path& out,
           Run& r, char* err) {
  if (e.end == Ending::TimedOut) {
    r.outcome = Outcome::TLE;
    r.message = "still running after " + std::to_string(DeadlineLimits * seconds) + " s of wall-clock time";
  } else if (e.cpu_seconds > seconds || (e.end == Ending::Signalled && e.code == SIGXCPU)) {
    r.outcome = Outcome::TLE;
  } else if (e.end == Ending::OutputLimit) {
    r.outcome = Outcome::OLE;
    r.message = "more than " + std::to_string(MaxOutput) + " bytes";
  } else if (e.end == Ending::Signalled) {
    r.outcome = Outcome::RTE;
    r.message = "signal " + std::to_string(e.code);
  } else if (e.code != 0) {
    r.outcome = Outcome::RTE;
    r.message = "exit status " + std::to_string(e.code);
  } else {
    char reason[ErrSize];
    if (!write_file(out.c_str(), e.output, reason))
      return std::snprintf(err, ErrSize, "%s", ("cannot write " + out.string() + ": " + reason).c_str()), 0;
    r = judge_output(test, in, answer_of(in), out);
  }
  r.test = test.name;
  r.least = test.stores_of(test.least);
  r.seconds = e.cpu_seconds;
  return 1;
}

}  // namespace

int make_report(const ReportCall& call, Report& report, char* err) {
  const fs::path package = call.package, programs = call.programs, out = programs / "output";
  report.memory_mib = call.memory_mib;
  std::vector<fs::path> inputs;
  std::vector<std::string> texts;
  for (const char* group : {"sample", "secret"})
    for (const fs::path& in : files_of(package / "data" / group, ".in")) {
      TestFacts t;
      t.name = std::string(group) + "/" + in.stem().string();
      char reason[ErrSize];
      if (!read_test(in, answer_of(in), t, reason))
        return std::snprintf(err, ErrSize, "%s", (t.name + ": " + reason).c_str()), 0;
      std::ostringstream text;
      text << std::ifstream(in).rdbuf();
      report.tests.push_back(t);
      inputs.push_back(in);
      texts.push_back(text.str());
    }
  if (report.tests.empty()) return std::snprintf(err, ErrSize, "the package has no tests"), 0;
  std::error_code error;
  if (!fs::is_directory(programs, error))
    return std::snprintf(err, ErrSize, "%s is not a folder of programs", programs.c_str()), 0;

  double slowest = 0;
  bool limited = false;
  for (const fs::path& folder : folders_of(programs)) {
    const bool accepted = folder.filename() == "accepted";
    if (!accepted && !limited) {
      report.seconds = std::max(1, static_cast<int>(0.5 + 5 * slowest));
      limited = true;
    }
    const RunLimits limits{.seconds = static_cast<double>(DeadlineLimits * report.seconds),
                           .cpu_seconds = report.seconds,
                           .memory_mib = call.memory_mib,
                           .raise_stack = true};
    for (const fs::path& program : files_of(folder, "")) {
      std::vector<Run> own(report.tests.size());
      for (std::size_t i = 0; i < report.tests.size(); ++i) {
        Ending ending;
        if (!run_solution({program.string()}, texts[i], limits, ending, err) ||
            !judged(ending, report.seconds, report.tests[i], inputs[i], out, own[i], err))
          return 0;
        own[i].submission = folder.filename().string() + "/" + program.filename().string() + ".cpp";
        if (accepted) slowest = std::max(slowest, ending.cpu_seconds);
      }
      const auto expected = expected_of(folder.filename().string());
      if (!expected || verdict_of(own) != *expected)
        report.off_verdicts.push_back(own[0].submission + " gets " + outcome_name(verdict_of(own)) +
                                      ", its folder asks for " +
                                      (expected ? outcome_name(*expected) : "none"));
      report.runs.insert(report.runs.end(), own.begin(), own.end());
    }
  }
  return 1;
}

std::string report_text(const Report& report) {
  char intro[1024];
  std::snprintf(
      intro, sizeof intro,
      "# The register package's report\n\nEvery submission on every test, run as problemtools runs it: "
      "the accepted ones within %d s, the others within the time limit that their runs set, %d s; %ld "
      "MiB of memory; the stack as large as the system allows. A submission's verdict is that of its "
      "first run that is not AC. A valid answer's stores stand beside the least.\n\n",
      AcceptedSeconds, report.seconds, report.memory_mib);
  if (report.plan.empty()) return intro + runs_table(report.runs);
  return intro + runs_table(report.runs) +
         "\n## The coverage plan\n\nEach row of the plan, and the tests that reach it: every row that a test "
         "can reach must be reached.\n\n" +
         plan_table(report.plan, report.tests);
}

}  // namespace regs
