// Files of the generator, and the I/O failure report that ends the run.
#include "io.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "parse.h"

namespace quillot {

namespace {

bool IsSeparator(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

void (*ioFailureHook)(int status) = nullptr;
std::FILE* ioReport = stdout;

int IoErrorOf(int systemError) {
  switch (systemError) {
    case ENOENT:
      return 2;
    case ENAMETOOLONG:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EEXIST:
    case EISDIR:
    case EROFS:
    case ENOTEMPTY:
      return 5;
    case EBADF:
      return 6;
    case 0:  // a failure must never end the run with status 0
    case EINTR:
    case EIO:
    case EAGAIN:
    case ENOSPC:
    case EPIPE:
      return 101;
    case ENOMEM:
    case EFAULT:
      return 217;
    case EINVAL:
      return 218;
    default:
      return systemError;
  }
}

void IoFailure(uint32_t site, const char* file, int ioError, const char* reason) {
  static const char* const operations[] = {"using", "opening", "reading", "writing", "closing"};
  std::fprintf(ioReport, "Runtime error %d at $%08X\n  %s \"%s\": %s\n", ioError, static_cast<unsigned>(site),
               operations[site & 0xF], file, reason);
  const int status = std::min(ioError, 255);
  if (ioFailureHook != nullptr) ioFailureHook(status);
  std::exit(status);
}

void SystemFailure(uint32_t site, const char* file) {
  const int error = errno;
  IoFailure(site, file, IoErrorOf(error), error != 0 ? std::strerror(error) : "input/output error");
}

void KeepStandardStreams() {
  // The lowest free descriptor is the one being filled, as those below it are open.
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    if (open("/dev/null", O_RDWR) == -1) SystemFailure(GuardingStandardStreams + OnOpen, "/dev/null");
  }
}

void IgnoreWriteSignals() {
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
}

OutFile::OutFile(const char* name, uint32_t use) : OutFile(std::fopen(name, "wb"), name, use) {
  if (file == nullptr) SystemFailure(use + OnOpen, name);
}

OutFile::OutFile(std::FILE* stream, const char* name, uint32_t use) : name(name), use(use), file(stream) {
  // The buffer here is the only one, so a failing write is seen where it happens.
  if (file != nullptr) std::setvbuf(file, nullptr, _IONBF, 0);
}

OutFile::~OutFile() {
  if (file != nullptr) std::fclose(file);
}

void OutFile::TextInPieces(std::string_view text) {
  while (!text.empty()) {
    if (used == sizeof buffer) Flush();
    const size_t size = std::min(text.size(), sizeof buffer - used);
    std::memcpy(buffer + used, text.data(), size);
    used += size;
    text.remove_prefix(size);
  }
}

void OutFile::Flush() {
  if (used != 0 && std::fwrite(buffer, 1, used, file) != used) SystemFailure(use + OnWrite, name);
  used = 0;
}

void OutFile::Close() {
  Flush();
  const int status = std::fclose(file);
  file = nullptr;
  if (status != 0) SystemFailure(use + OnClose, name);
}

std::string ReadAtMost(std::FILE* stream, size_t limit, const char* name, uint32_t use) {
  // Reserved, not touched: memory grows with what is read rather than with the limit.
  std::string text;
  text.reserve(limit);
  char piece[1 << 16];
  size_t got = sizeof piece;
  while (got == sizeof piece && text.size() < limit) {
    got = std::fread(piece, 1, std::min(sizeof piece, limit - text.size()), stream);
    text.append(piece, got);
  }
  if (std::ferror(stream)) SystemFailure(use + OnRead, name);
  return text;
}

InFile::InFile(const char* name, uint32_t use) : name(name), use(use), file(std::fopen(name, "rb")) {
  if (file == nullptr) SystemFailure(use + OnOpen, name);
}

InFile::~InFile() {
  if (file != nullptr) std::fclose(file);
}

int InFile::Get() {
  int c = std::exchange(pending, None);
  if (c == None) {
    c = std::getc(file);
    if (c == EOF && std::ferror(file)) SystemFailure(use + OnRead, name);
  }
  lastBefore = last;
  lineBefore = line;
  if (c == '\r' || (c == '\n' && last != '\r')) ++line;
  last = c;
  return c;
}

void InFile::Unget(int c) {
  pending = c;
  last = lastBefore;
  line = lineBefore;
}

int32_t InFile::Int() {
  const int32_t searchLine = line;
  int c = Get();
  while (IsSeparator(c)) c = Get();
  const int32_t numberLine = line;
  char text[256];
  size_t size = 0;
  for (; c != EOF && !IsSeparator(c) && size < sizeof text; c = Get()) text[size++] = static_cast<char>(c);
  Unget(c);  // the separator after the number belongs to what is read next

  int32_t value = 0;
  // A number is at most 255 characters; a longer one is no number of this file.
  if (size == 0 || size == sizeof text || !ParseInt32({text, size}, value)) {
    char reason[64];
    std::snprintf(reason, sizeof reason, "line %d: %s", static_cast<int>(size == 0 ? searchLine : numberLine),
                  size == 0 ? "no number left" : "not a 32-bit integer");
    IoFailure(use + OnRead, name, BadNumber, reason);
  }
  return value;
}

void InFile::SkipLine() {
  int c = Get();
  while (c != EOF && c != '\n' && c != '\r') c = Get();
  if (c == '\r') {
    c = Get();
    if (c != '\n') Unget(c);
  }
}

void InFile::Close() {
  const int status = std::fclose(file);
  file = nullptr;
  if (status != 0) SystemFailure(use + OnClose, name);
}

}  // namespace quillot
