// What the checker family's programs write: all of it, or the reason why not.
#include "output.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include "brannik_version.h"
#include "fault.h"

namespace regs {

namespace {

// The reason of the last failed call, never empty: a stream can fail without
// a system error (one that had failed before).
int failed(char* err) {
  const int error = errno;
  return refuse(err, "%s", error != 0 ? std::strerror(error) : "input/output error");
}

}  // namespace

void ignore_broken_pipes() {
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool print_version(const char* program) {
  return std::printf("%s %s\n", program, Version) >= 0 && std::fflush(stdout) == 0;
}

int write_all(std::FILE* stream, std::string_view text, char* err) {
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
  if (std::fflush(stream) != 0 || !written || std::ferror(stream)) return failed(err);
  return 1;
}

int write_file(const char* path, std::string_view text, char* err) {
  errno = 0;
  std::FILE* file = std::fopen(path, "w");
  if (!file) return failed(err);
  const int written = write_all(file, text, err);
  if (std::fclose(file) != 0 && written) return failed(err);
  return written;
}

std::string xml_escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace regs
