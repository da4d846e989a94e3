// The words of every fault, in one table.
#include "fault.h"

#include <cstdarg>
#include <cstdio>

namespace regs {

namespace {

// By kind: the message, with "%i" for the line or "%lld" for the figures.
constexpr const char* Words[] = {
    "",
    "failed opening file",
    "syntax error at line %i",
    "N out of range at line %i",
    "C_l or C_s are out of range at line %i",
    "too many nodes",
    "K out of range at line %i",
    "cost out of range at line %i",
    "trash in the end of file",
    "value out of range at line %i",
    "evaluating leaf node at line %i",
    "reevaluating node at line %i",
    "node has unevaluated children at line %i",
    "too many registers used at line %i",
    "root node has not been computed properly",
    "incorrect total cost",
    "total cost %lld, the least is %lld",
    "not optimal: total cost %lld, the contestant's answer costs %lld",
    "out of memory",
    "root node is a leaf",
    "time limit: more than %g s",
    "output limit: more than %lld bytes",
    "memory limit: %lld MiB used, more than %lld MiB",
    "crashed: signal %lld",
    "exit status %lld",
};
static_assert(sizeof Words / sizeof *Words == static_cast<int>(FaultKind::ExitStatus) + 1);

}  // namespace

int refuse(char* err, const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(err, ErrSize, format, arguments);
  va_end(arguments);
  return 0;
}

void fault_message(const Fault& fault, bool figures, char* out, std::size_t size) {
  const char* words = Words[static_cast<int>(fault.kind)];
  switch (fault.kind) {
    case FaultKind::IncorrectTotal:
      if (figures) {
        std::snprintf(out, size, "%s: claimed %lld, replayed %lld", words, fault.figures[0],
                      fault.figures[1]);
        return;
      }
      break;
    case FaultKind::Dearer:
    case FaultKind::NotOptimal:
    case FaultKind::OutputLimit:
    case FaultKind::MemoryLimit:
    case FaultKind::Signalled:
    case FaultKind::ExitStatus:
      std::snprintf(out, size, words, fault.figures[0], fault.figures[1]);
      return;
    case FaultKind::TimeLimit:
      std::snprintf(out, size, words, static_cast<double>(fault.figures[0]) / 1000);
      return;
    default:
      break;
  }
  std::snprintf(out, size, words, fault.line);
}

}  // namespace regs
