// Files of the generator: every operation is checked, and the first failure ends
// the run with the I/O failure report.
#pragma once
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace quillot {

// A failing place is reported as a fixed code: the use of the file plus the operation.
inline constexpr uint32_t OnOpen = 1, OnRead = 2, OnWrite = 3, OnClose = 4;
inline constexpr uint32_t WritingFenceIn = 0x00001000;
inline constexpr uint32_t WritingFencePs = 0x00002000;
inline constexpr uint32_t ReadingFenceIn = 0x00003000;
inline constexpr uint32_t GuardingStandardStreams = 0x00004000;
inline constexpr uint32_t WritingStandardOutput = 0x00005000;
inline constexpr uint32_t ReadingStandardInput = 0x00006000;

inline constexpr int BadNumber = 106;  // I/O error: not an integer, or no number left

// The I/O error number for a system error number.
int IoErrorOf(int systemError);

// Where the I/O failure report goes: standard output, unless a program's standard
// output carries its product.
extern std::FILE* ioReport;

// Prints "Runtime error <ioError> at $<site>" and a line naming the operation, the
// file and the reason on ioReport, then exits with ioError (at most 255).
[[noreturn]] void IoFailure(uint32_t site, const char* file, int ioError, const char* reason);

// The I/O failure report for the system error that errno holds.
[[noreturn]] void SystemFailure(uint32_t site, const char* file);

// Opens "/dev/null" onto each of the descriptors 0, 1 and 2 that is closed, so that
// no file of the run takes the place of a standard stream (and gets its report).
void KeepStandardStreams();

// A write beyond the file-size limit, or into a pipe whose reader has gone, then
// fails with its error and is reported, instead of ending the run by a signal.
void IgnoreWriteSignals();

// Called with the exit status after the report, just before the run ends. A
// driver that must go on after a failure, such as the fuzzer, throws from it.
extern void (*ioFailureHook)(int status);

// A text file written through one buffer, so that a large test costs few system calls.
class OutFile {
 public:
  OutFile(const char* name, uint32_t use);  // creates the file, or empties it
  // Writes into a stream that is already open, such as standard output, under name.
  OutFile(std::FILE* stream, const char* name, uint32_t use);
  ~OutFile();
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;

  void Text(std::string_view text) {
    if (text.size() > sizeof buffer - used) return TextInPieces(text);
    std::memcpy(buffer + used, text.data(), text.size());
    used += text.size();
  }
  // The one writer of integers: plain decimal, "-" when negative.
  void Int(int32_t value) {
    if (sizeof buffer - used < 11) Flush();
    used = std::to_chars(buffer + used, buffer + sizeof buffer, value).ptr - buffer;
  }
  void Close();

 private:
  void TextInPieces(std::string_view text);
  void Flush();

  const char* name;
  uint32_t use;
  std::FILE* file;
  size_t used = 0;
  char buffer[1 << 16];
};

// Reads stream to its end, but no more than limit bytes; a read error ends the run
// with the I/O failure report.
std::string ReadAtMost(std::FILE* stream, size_t limit, const char* name, uint32_t use);

// A text file read number by number; blanks, tabs, carriage returns and line
// feeds separate the numbers.
class InFile {
 public:
  InFile(const char* name, uint32_t use);
  ~InFile();
  InFile(const InFile&) = delete;
  InFile& operator=(const InFile&) = delete;

  int32_t Int();
  // Consumes the rest of the line: up to a line feed, a carriage return, or both.
  void SkipLine();
  void Close();

 private:
  int Get();
  // Hands c back to be read again, as if it had not been read.
  void Unget(int c);

  static constexpr int None = -2;
  const char* name;
  uint32_t use;
  std::FILE* file;
  int pending = None;
  int last = 0;  // the character read before, to count CR LF as one line end
  int32_t line = 1;
  int lastBefore = 0;
  int32_t lineBefore = 1;
};

}  // namespace quillot
