// The mutants of a solution against a package's tests and the stress search.
#include "mutants.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "judge_run.h"
#include "output.h"
#include "report.h"
#include "runner.h"
#include "stress.h"

namespace regs {

namespace fs = std::filesystem;

std::vector<int> lines_not_run(const std::string& gcov_text, const std::string& source_path) {
  std::vector<int> lines;
  std::istringstream in(gcov_text);
  bool own = false;
  for (std::string line; std::getline(in, line);) {
    const std::size_t first = line.find(':'), second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string count = line.substr(0, first);
    const long number = std::strtol(line.c_str() + first + 1, nullptr, 10);
    if (number == 0 && line.compare(second + 1, 7, "Source:") == 0)
      own = line.substr(second + 8) == source_path;
    else if (own && (count.find("#####") != std::string::npos || count.find("=====") != std::string::npos))
      lines.push_back(static_cast<int>(number));
  }
  return lines;
}

std::vector<Mutant> spread(const std::vector<Mutant>& mutants, long long limit) {
  const std::size_t n = mutants.size();
  if (limit <= 0 || static_cast<std::size_t>(limit) >= n) return mutants;
  std::vector<Mutant> taken;
  for (std::size_t k = 0; k < static_cast<std::size_t>(limit); ++k) taken.push_back(mutants[k * n / limit]);
  return taken;
}

std::size_t holes_of(const MutantsRun& run) {
  return std::count_if(run.results.begin(), run.results.end(),
                       [](const MutantResult& r) { return r.outcome == MutantResult::Hole; });
}

namespace {

// A solution's line as a Markdown table's cell shows it.
std::string cell(std::string text) {
  text.erase(0, text.find_first_not_of(" \t"));
  std::string out;
  for (const char c : text) out += c == '|' ? std::string("\\|") : std::string(1, c);
  return "`" + out + "`";
}

}  // namespace

std::string mutants_report(const MutantsRun& run) {
  std::size_t counts[4] = {};
  for (const MutantResult& r : run.results) ++counts[r.outcome];
  const std::size_t killed = counts[MutantResult::Killed], holes = counts[MutantResult::Hole];
  std::ostringstream out;
  out << "# Mutants of the solution\n\n";
  if (killed + holes == 0)
    out << "**No mutant could be broken**, by the tests or by the stress search.\n\n";
  else
    out << "**The tests kill " << killed * 1000 / (killed + holes) / 10.0 << "% of the breakable mutants** ("
        << killed << " of " << killed + holes << ").\n\n";
  out << "Each mutant is the solution with one change: an operator, a bound, a constant, an integer type, a "
         "dropped break or a negated condition. It is compiled as the judging systems compile (g++ -O2 "
         "-std=gnu++17), run on every test within the package's limits and judged by brannik; one that every "
         "test accepts is handed to the stress search for "
      << run.budget << " s. A breakable mutant is one that the tests or the search reject.\n\n";
  out << "| mutants | count |\n|---|---|\n"
      << "| made | " << run.made << " |\n"
      << "| on lines that no test runs, left out | " << run.unreached << " |\n"
      << "| left out by --lines or --limit | " << run.made - run.unreached - run.mutants.size() << " |\n"
      << "| run | " << run.mutants.size() << " |\n"
      << "| did not compile | " << counts[MutantResult::NotCompiled] << " |\n"
      << "| killed by the tests | " << killed << " |\n"
      << "| broken by the stress search alone (holes) | " << holes << " |\n"
      << "| broken by neither | " << counts[MutantResult::Survived] << " |\n\n";
  char took[128];
  std::snprintf(took, sizeof took, "%.0f s with %d mutants at a time", run.seconds, run.jobs);
  out << "The run took " << took << ".\n\n";

  std::vector<std::string> order;
  std::map<std::string, std::vector<int>> first_killed;
  for (std::size_t i = 0; i < run.results.size(); ++i)
    if (run.results[i].outcome == MutantResult::Killed) {
      auto& lines = first_killed[run.results[i].test];
      if (lines.empty()) order.push_back(run.results[i].test);
      lines.push_back(run.mutants[i].line);
    }
  std::sort(order.begin(), order.end());
  out << "## The tests that kill first\n\n| test | mutants it kills first | their lines |\n|---|---|---|\n";
  for (const std::string& test : order) {
    std::string lines;
    for (const int line : first_killed[test]) lines += (lines.empty() ? "" : ", ") + std::to_string(line);
    out << "| " << test << " | " << first_killed[test].size() << " | " << lines << " |\n";
  }

  out << "\n## Holes: broken by the stress search alone\n\n";
  if (holes == 0) out << "None.\n";
  for (std::size_t i = 0; i < run.results.size(); ++i) {
    const MutantResult& r = run.results[i];
    if (r.outcome != MutantResult::Hole) continue;
    const Mutant& m = run.mutants[i];
    out << "### Line " << m.line << ": " << m.what << "\n\n```cpp\n"
        << line_text(run.source, m.line) << "\n```\n\nThe search's failing test: `" << r.gen << "`; "
        << r.failure << ". Shrunk, the mutant fails on:\n\n```\n"
        << r.shrunk << "```\n\nA line for tests.txt:\n\n```\n"
        << r.suggestion << "\n```\n\n";
  }

  out << "\n## Broken by neither\n\nMost likely the solution in another form; each for a person to look "
         "at.\n\n";
  out << "| line | change | the line |\n|---|---|---|\n";
  for (std::size_t i = 0; i < run.results.size(); ++i)
    if (run.results[i].outcome == MutantResult::Survived)
      out << "| " << run.mutants[i].line << " | " << cell(run.mutants[i].what) << " | "
          << cell(line_text(run.source, run.mutants[i].line)) << " |\n";
  return out.str();
}

namespace {

// What a mutant's process knows: the package, its limits, a folder to work in.
struct Work {
  fs::path dir;
  PackageTests tests;
  RunLimits limits;
  StressOptions stress;
  std::string source;
};

// Compiles the source into the binary with g++ and the flags: 1 with
// whether it compiled, or 0 with the reason in err when g++ cannot be run.
int compile(const fs::path& source, const fs::path& binary, std::vector<std::string> flags, bool& compiled,
            char* err) {
  std::vector<std::string> command{"g++"};
  command.insert(command.end(), flags.begin(), flags.end());
  command.insert(command.end(), {"-o", binary.string(), source.string()});
  Ending ending;
  if (!run_solution(command, "", RunLimits{.seconds = 600}, ending, err)) return 0;
  compiled = ending.end == Ending::Exited && ending.code == 0;
  return 1;
}

const std::vector<std::string> JudgesFlags = {"-O2", "-std=gnu++17"};

// Runs the program on the tests in order until one rejects it: 1 with that
// test's index in `failing` (-1 for none) and its judgement, or 0 with the
// reason in err when it cannot be run.
int first_failing(const fs::path& program, const Work& work, int& failing, Judgement& judgement, char* err) {
  failing = -1;
  for (std::size_t i = 0; i < work.tests.inputs.size(); ++i) {
    Ending ending;
    if (!run_solution({program.string()}, work.tests.inputs[i], work.limits, ending, err)) return 0;
    judgement = judge_run(ending, work.limits, work.tests.inputs[i], work.tests.answers[i]);
    if (judgement.verdict != Verdict::Accepted) {
      failing = static_cast<int>(i);
      return 1;
    }
  }
  return 1;
}

// The tests.txt line of a test found by the search for the mutant at `line`.
std::string suggestion(const TaskPlan& plan, int line) {
  const char* group = plan.nodes <= 100                                         ? "small"
                      : plan.shape == Shape::Chain || plan.shape == Shape::Comb ? "deep"
                                                                                : "large";
  const std::string call = gen_call(plan);
  return "NN-caught-at-line-" + std::to_string(line) + " " + group + " gen " +
         call.substr(call.find(' ') + 1);
}

// A worker's file of the mutant of that number: "m12", "r12".
std::string numbered(const char* prefix, std::size_t number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

MutantResult judge_mutant(const Work& work, const Mutant& mutant, std::size_t number) {
  MutantResult result;
  const fs::path source = work.dir / (numbered("m", number) + ".cpp");
  const fs::path binary = work.dir / numbered("m", number);
  char err[ErrSize];
  bool compiled = false;
  if (!write_file(source.c_str(), mutated(work.source, mutant), err) ||
      !compile(source, binary, JudgesFlags, compiled, err) || !compiled) {
    result.outcome = MutantResult::NotCompiled;
    return result;
  }
  int failing = -1;
  Judgement judgement;
  if (first_failing(binary, work, failing, judgement, err) && failing >= 0) {
    result.outcome = MutantResult::Killed;
    result.test = work.tests.facts[failing].name;
    result.failure = failure_words(judgement);
  } else {
    Search search;
    if (find_failure({binary.string()}, work.stress, search, err) && search.plan) {
      Judgement verdict;
      long long runs = 0;
      const Task smallest = shrink_failure({binary.string()}, search, work.stress.time_limit,
                                           work.stress.memory_mib, verdict, runs);
      result.outcome = MutantResult::Hole;
      result.gen = gen_call(*search.plan);
      result.failure = failure_words(verdict);
      result.shrunk = task_text(smallest);
      result.suggestion = suggestion(*search.plan, mutant.line);
    }
  }
  std::error_code error;
  fs::remove(source, error);
  fs::remove(binary, error);
  return result;
}

// A result as its worker's file holds it: the outcome, then a line each,
// then the shrunk test to the end.
std::string result_text(const MutantResult& r) {
  std::string text = std::to_string(r.outcome) + "\n";
  for (std::string field : {r.test, r.failure, r.gen, r.suggestion}) {
    std::replace(field.begin(), field.end(), '\n', ' ');
    text += field + "\n";
  }
  return text + r.shrunk;
}

MutantResult result_of(const std::string& text) {
  MutantResult r;
  std::istringstream in(text);
  std::string outcome;
  std::getline(in, outcome);
  r.outcome = static_cast<MutantResult::Outcome>(std::atoi(outcome.c_str()));
  for (std::string* field : {&r.test, &r.failure, &r.gen, &r.suggestion}) std::getline(in, *field);
  std::ostringstream rest;
  rest << in.rdbuf();
  r.shrunk = rest.str();
  return r;
}

using Clock = std::chrono::steady_clock;

// A worker process: takes mutant numbers from the jobs pipe until it is
// closed, writes each result to its file and its outcome to the done pipe.
[[noreturn]] void worker(const Work& work, const std::vector<Mutant>& mutants, int jobs, int done) {
  std::uint32_t number = 0;
  while (read(jobs, &number, sizeof number) == sizeof number) {
    const MutantResult result = judge_mutant(work, mutants[number], number);
    char err[ErrSize];
    const fs::path file = work.dir / numbered("r", number);
    const char outcome =
        write_file(file.c_str(), result_text(result), err) ? static_cast<char>(result.outcome) : -1;
    if (write(done, &outcome, 1) != 1) break;
  }
  std::_Exit(0);
}

// Runs every mutant in `jobs` worker processes; the results in run.
int run_workers(const Work& work, int jobs, MutantsRun& run, char* err) {
  const std::size_t total = run.mutants.size();
  int job_pipe[2], done_pipe[2];
  if (pipe(job_pipe) != 0) return refuse(err, "cannot make a pipe");
  if (pipe(done_pipe) != 0) {
    close(job_pipe[0]), close(job_pipe[1]);
    return refuse(err, "cannot make a pipe");
  }
  std::fflush(nullptr);
  std::vector<pid_t> workers;
  for (int j = 0; j < jobs; ++j) {
    const pid_t pid = fork();
    if (pid == 0) {
      close(job_pipe[1]), close(done_pipe[0]);
      worker(work, run.mutants, job_pipe[0], done_pipe[1]);
    }
    if (pid > 0) workers.push_back(pid);
  }
  close(job_pipe[0]), close(done_pipe[1]);
  for (std::uint32_t i = 0; i < total; ++i)
    if (write(job_pipe[1], &i, sizeof i) != sizeof i) break;
  close(job_pipe[1]);

  const bool terminal = isatty(STDERR_FILENO);
  const auto start = Clock::now();
  std::size_t done = 0, holes = 0;
  for (char outcome = 0; done < total && read(done_pipe[0], &outcome, 1) == 1;) {
    ++done;
    holes += outcome == MutantResult::Hole;
    if (!terminal) continue;
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::fprintf(stderr, "\r%zu of %zu mutants, %zu holes, about %.0f s left   ", done, total, holes,
                 elapsed / done * (total - done));
  }
  if (terminal) std::fprintf(stderr, "\n");
  close(done_pipe[0]);
  for (const pid_t pid : workers) waitpid(pid, nullptr, 0);
  if (workers.empty()) return refuse(err, "cannot start a worker process");

  run.results.clear();
  for (std::size_t i = 0; i < total; ++i) {
    std::string text;
    if (!file_text((work.dir / numbered("r", i)).string(), text) || text.empty())
      return refuse(err, "mutant %zu (line %d) was not judged", i, run.mutants[i].line);
    run.results.push_back(result_of(text));
  }
  return 1;
}

// The memory limit of problem.yaml's limits, in MiB: 0 when it names none.
long memory_of(const std::string& yaml) {
  const std::size_t at = yaml.find("memory:");
  return at == std::string::npos ? 0 : std::strtol(yaml.c_str() + at + 7, nullptr, 10);
}

// The lines of the solution that the package's tests run: the solution built
// with gcov's counters and run on every test. Returns 1 with the lines that
// none runs, or 0 with the reason in err.
int unrun_lines(const Work& work, const fs::path& source, std::vector<int>& lines, char* err) {
  const fs::path counted = work.dir / "counted";
  bool compiled = false;
  if (!compile(source, counted, {"-O0", "--coverage", "-std=gnu++17"}, compiled, err)) return 0;
  if (!compiled) return refuse(err, "the solution does not compile with gcov's counters");
  const RunLimits slow{.seconds = 10 * work.limits.seconds};
  for (const std::string& input : work.tests.inputs) {
    Ending ending;
    if (!run_solution({counted.string()}, input, slow, ending, err)) return 0;
  }
  Ending gcov;
  const fs::path counts = work.dir / "counted-solution.gcda";
  if (!run_solution({"gcov", "-t", counts.string()}, "", RunLimits{.seconds = 120}, gcov, err)) return 0;
  lines = lines_not_run(gcov.output, source.string());
  return 1;
}

// Reads the package and the solution, checks that the solution passes every
// test, and makes its mutants on the lines the tests run.
int prepare(const MutantsCall& call, Work& work, MutantsRun& run, char* err) {
  std::string yaml;
  if (!read_package(call.package, work.tests, err)) return 0;
  if (!file_text(call.package + "/problem.yaml", yaml) || memory_of(yaml) <= 0)
    return refuse(err, "no memory limit: %s/problem.yaml names none", call.package.c_str());
  work.limits = submission_limits(work.tests.seconds, memory_of(yaml));
  work.stress.seed = call.seed;
  work.stress.budget = call.budget;
  work.stress.time_limit = work.limits.seconds;
  if (!file_text(call.solution, work.source) || work.source.empty())
    return refuse(err, "cannot read the solution %s", call.solution.c_str());
  run.source = work.source;
  std::vector<Token> tokens;
  if (!tokens_of(work.source, tokens, err)) return 0;

  const fs::path source = work.dir / "solution.cpp", binary = work.dir / "solution";
  bool compiled = false;
  if (!write_file(source.c_str(), work.source, err) || !compile(source, binary, JudgesFlags, compiled, err))
    return 0;
  if (!compiled) return refuse(err, "the solution %s does not compile", call.solution.c_str());
  int failing = -1;
  Judgement judgement;
  if (!first_failing(binary, work, failing, judgement, err)) return 0;
  if (failing >= 0)
    return refuse(err, "the solution itself fails %s: %s", work.tests.facts[failing].name.c_str(),
                  failure_words(judgement).c_str());

  std::vector<int> unrun;
  if (!unrun_lines(work, source, unrun, err)) return 0;
  const std::vector<Mutant> all = mutants_of(work.source, tokens);
  run.made = all.size();
  std::vector<Mutant> reached;
  for (const Mutant& m : all)
    if (!std::binary_search(unrun.begin(), unrun.end(), m.line)) reached.push_back(m);
  run.unreached = all.size() - reached.size();
  std::erase_if(reached,
                [&](const Mutant& m) { return m.line < call.first_line || m.line > call.last_line; });
  run.mutants = spread(reached, call.limit);
  return 1;
}

}  // namespace

int run_mutants(const MutantsCall& call, MutantsRun& run, char* err) {
  const auto start = Clock::now();
  std::string folder = (fs::temp_directory_path() / "brannik-mutants-XXXXXX").string();
  if (!mkdtemp(folder.data())) return refuse(err, "cannot make a working folder in %s", folder.c_str());
  Work work;
  work.dir = folder;
  run.budget = call.budget;
  run.jobs = call.jobs > 0 ? call.jobs : std::max(1, static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN)));
  const int done = prepare(call, work, run, err) && run_workers(work, run.jobs, run, err);
  std::error_code error;
  fs::remove_all(work.dir, error);
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return done;
}

}  // namespace regs
