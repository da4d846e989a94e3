// What the tests of both families share: runs of the built programs in a
// shell, files, scratch folders, streams that fail on cue, and pictures read
// back. Only the tests use it; the families' programs share no code.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

namespace support {

struct ShellRun {
  std::string out, err;
  int status = -1;  // -1 when the program did not exit by itself
};

// Runs a shell command line in the folder dir, with standard input empty
// unless the command redirects it, and captures both outputs and the status.
// The captures are kept outside dir, so that a test sees only its own files.
ShellRun run_shell(const std::string& dir, const std::string& command);

// Put before a command line, runs it with standard output a pipe whose
// reader has gone before anything is written.
inline const std::string IntoClosedPipe =
    "perl -e 'pipe(R, W) or die; close R; open STDOUT, \">&W\" or die; exec @ARGV or die' ";

// The shell text that runs a program next under a clock fixed at clock, UTC.
std::string faketime(const std::string& clock);

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& text);
bool exists(const std::string& path);

// A fresh folder of its own, removed with everything in it at the end of the scope.
struct ScratchDir {
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string path;
};

// Each test of a fixture of this kind runs in a scratch folder of its own as
// the current folder.
class InTempDir : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  std::string previous;
  std::optional<ScratchDir> dir;
};

// A stream holding text, as a program reads its files.
struct Stream {
  explicit Stream(const std::string& text);
  ~Stream();
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  std::FILE* file;
};

// A stream that gives text over and over, and fails with an input/output
// error after `good` bytes, as a disk or a folder does.
struct ScriptedStream {
  ScriptedStream(std::string text, std::size_t good);
  ~ScriptedStream();
  ScriptedStream(const ScriptedStream&) = delete;
  ScriptedStream& operator=(const ScriptedStream&) = delete;
  std::string text;
  std::size_t at = 0, good;
  std::FILE* file;
};

// A picture in binary netpbm form (P5 gray, P6 colour), as Ghostscript and pngtopnm write it.
struct Image {
  std::string magic;
  int width = 0, height = 0;
  std::string pixels;  // row by row, one byte a channel
};
Image read_netpbm(const std::string& path);

}  // namespace support
