// brannik-stress: runs a solution of the register task on generated tests
// until one fails, shrinks that test while it fails in the same way, and
// writes it: brannik-stress [options] -- <command...>.
#include <cstdio>
#include <string>

#include "args.h"
#include "descriptors.h"
#include "exit_status.h"
#include "output.h"
#include "stress.h"

namespace {

int cannot(const std::string& what) {
  std::fprintf(stderr, "brannik-stress: %s\n", what.c_str());
  return regs::NotDone;
}

// A line of the search's account on standard output, or why it cannot be written.
bool say(const std::string& line, char* err) { return regs::write_all(stdout, line + "\n", err); }

}  // namespace

int main(int argc, char** argv) {
  if (regs::asks_version(argc, argv))
    return regs::print_version("brannik-stress") ? regs::Done : regs::NotDone;
  regs::StressCall call;
  char err[regs::ErrSize];
  if (!regs::read_stress_call(argc, argv, call, err)) return std::fprintf(stderr, "%s\n", err), regs::NotDone;
  regs::ignore_broken_pipes();
  if (regs::reopen_standard_descriptors().output_lost())
    return cannot("cannot write the account: no standard output");

  regs::Search search;
  if (!regs::find_failure(call.command, call.options, search, err)) return cannot(err);
  char line[256];
  if (!search.plan) {
    std::snprintf(line, sizeof line, "no failure in %llu tests (%.1f s), trees of up to %d nodes",
                  static_cast<unsigned long long>(search.tests), search.seconds, call.options.max_nodes);
    return say(line, err) ? regs::Done : cannot(std::string("cannot write the account: ") + err);
  }
  std::snprintf(line, sizeof line,
                "failing test %llu after %.1f s: ", static_cast<unsigned long long>(search.tests),
                search.seconds);
  if (!say(line + regs::gen_call(*search.plan), err))
    return cannot(std::string("cannot write the account: ") + err);

  regs::Judgement verdict;
  long long runs = 0;
  const regs::Task smallest = regs::shrink_failure(call.command, search, call.options.time_limit,
                                                   call.options.memory_mib, verdict, runs);
  if (!regs::write_file(call.file.c_str(), regs::task_text(smallest), err))
    return cannot("cannot write " + call.file + ": " + err);
  std::snprintf(line, sizeof line, "shrunk from %zu to %zu nodes in %lld runs", search.task.K.size(),
                smallest.K.size(), runs);
  if (!say(line, err) || !say(call.file + ": " + regs::failure_words(verdict), err))
    return cannot(std::string("cannot write the account: ") + err);
  return regs::FoundFailure;
}
