// What the checker family's programs write: all of it, or the reason why not.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace regs {

// A write into a pipe whose reader has gone then fails with its reason,
// instead of ending the program by SIGPIPE before it can say what happened.
void ignore_broken_pipes();

// Prints "<program> <release>" for --version: whether it was written.
bool print_version(const char* program);

// Writes text to the stream and flushes it. Returns 1 when all of it was
// written; otherwise 0 with the system's reason in err, of size ErrSize.
int write_all(std::FILE* stream, std::string_view text, char* err);

// Creates or replaces the file at path with text and closes it: 1, or 0 with
// the system's reason in err, of size ErrSize.
int write_file(const char* path, std::string_view text, char* err);

// The text with &, <, > and " written as entities, for the text or an
// attribute of an XML or SVG element.
std::string xml_escaped(std::string_view text);

}  // namespace regs
