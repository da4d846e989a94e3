// Helpers of the generator's tests: a temporary folder per test, files, and runs
// of the built programs.
#pragma once
#include <gtest/gtest.h>

#include <string>

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// Runs a shell command in the current folder; standard input is empty.
Outcome Shell(const std::string& command);

// The shell text that runs a program next under a clock fixed at clock, UTC.
std::string Faketime(const std::string& clock);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
bool Exists(const std::string& path);

// A picture in binary netpbm form (P5 gray, P6 colour), as Ghostscript and pngtopnm write it.
struct Image {
  std::string magic;
  int width = 0, height = 0;
  std::string pixels;  // row by row, one byte a channel
};
Image ReadNetpbm(const std::string& path);

// Each test runs in a fresh temporary folder of its own.
class InTempDir : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  std::string previous;
  std::string dir;
};
