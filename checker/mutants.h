// How strong a package's tests are: the mutants of a solution, each run on
// the tests and, when they accept it, handed to the stress search.
#pragma once

#include <string>
#include <vector>

#include "args.h"
#include "mutate.h"

namespace regs {

// What became of a mutant: it did not compile; a test rejects it (killed);
// the tests accept it and the stress search breaks it (a hole in the tests);
// neither breaks it.
struct MutantResult {
  enum Outcome { NotCompiled, Killed, Hole, Survived };
  Outcome outcome = Survived;
  std::string test;        // Killed: the first test that rejects it
  std::string failure;     // Killed, Hole: what went wrong, for a person
  std::string gen;         // Hole: the brannik-gen call of the search's failing test
  std::string shrunk;      // Hole: the shrunk test's text
  std::string suggestion;  // Hole: a line for tests.txt that makes the search's test
};

struct MutantsRun {
  std::string source;           // the solution
  std::vector<Mutant> mutants;  // those run, in source order
  std::vector<MutantResult> results;
  std::size_t made = 0;       // every mutant made
  std::size_t unreached = 0;  // of them, those on lines that no test runs, left out
  double seconds = 0, budget = 0;
  int jobs = 1;
};

// The lines of a source that gcov's text output (gcov -t) shows as run by
// none of the runs it counted: "#####" or "=====" in the source's section.
std::vector<int> lines_not_run(const std::string& gcov_text, const std::string& source_path);

// Takes `limit` mutants spread evenly over the list (all of them for 0).
std::vector<Mutant> spread(const std::vector<Mutant>& mutants, long long limit);

// The report, in Markdown: the share of the breakable mutants that the tests
// kill, the counts, the tests that kill first, each hole with its test and a
// tests.txt line, each mutant that nothing breaks.
std::string mutants_report(const MutantsRun& run);

// The holes of a run.
std::size_t holes_of(const MutantsRun& run);

// Makes the solution's mutants on the lines that the package's tests run
// (gcov), compiles each as the judging systems do (g++ -O2 -std=gnu++17),
// runs it on every test under the package's limits and judges it
// (judge_run); a mutant that every test accepts goes to the stress search
// (find_failure, shrink_failure) for call.budget seconds. call.jobs
// mutants at a time, each in a process of its own; a progress line on
// standard error when it is a terminal. Returns 1 with the run, or 0 with
// the reason in err (of size ErrSize): the package or the solution cannot be
// read, the solution does not compile or fails a test itself.
int run_mutants(const MutantsCall& call, MutantsRun& run, char* err);

}  // namespace regs
