// Helpers of the checker's tests: scratch folders, files, and runs of the built programs.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace support {

// The worked register example: a task of seven nodes and its accepted answer.
inline const std::string WorkedIn = "2\n1 3\n2\n1\n2\n1\n0\n0\n2\n1\n0\n0\n";
inline const std::string WorkedOut = "11\n2 0\n5 1\n1 1\n";

// Put before a command line, runs it with standard output a pipe whose
// reader has gone before anything is written.
inline const std::string IntoClosedPipe =
    "perl -e 'pipe(R, W) or die; close R; open STDOUT, \">&W\" or die; exec @ARGV or die' ";

struct Outcome {
  std::string out, err;
  int status = -1;  // -1 when the program did not exit by itself
};

// Runs a shell command line in the folder dir, with standard input empty
// unless the command redirects it, and captures both outputs and the status.
Outcome run_shell(const std::string& dir, const std::string& command);

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& text);

// A stream holding text, as the checker reads its files.
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

// A fresh folder of its own, removed with everything in it at the end of the scope.
struct ScratchDir {
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string path;
};

}  // namespace support
