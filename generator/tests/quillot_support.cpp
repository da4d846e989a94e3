// Helpers of the generator's tests: temporary folders, files, runs of the built programs.
#include "quillot_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

Outcome Shell(const std::string& command) {
  const fs::path capture = fs::temp_directory_path() / ("quillot-run-" + std::to_string(getpid()));
  const std::string out = capture.string() + ".out", err = capture.string() + ".err";
  const int raw = std::system(("(" + command + ") </dev/null >" + out + " 2>" + err).c_str());
  Outcome outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
  fs::remove(out);
  fs::remove(err);
  return outcome;
}

std::string Faketime(const std::string& clock) {
  // The sanitizer runtime must come first among the libraries; faketime's is preloaded.
  return "TZ=UTC ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 faketime -f '" + clock +
         "' ";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

Image ReadNetpbm(const std::string& path) {
  const std::string file = ReadFile(path);
  // The header: the magic, width, height and largest value, with "#" comments between them.
  std::istringstream header(file);
  Image image;
  header >> image.magic;
  int size[3] = {};
  for (int& value : size) {
    while ((header >> std::ws).peek() == '#') header.ignore(file.size(), '\n');
    header >> value;
  }
  image.width = size[0];
  image.height = size[1];
  if (header) image.pixels = file.substr(static_cast<size_t>(header.tellg()) + 1);
  return image;
}

bool Exists(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

void InTempDir::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "quillot-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir = pattern;
  previous = fs::current_path().string();
  fs::current_path(dir);
}

void InTempDir::TearDown() {
  fs::current_path(previous);
  fs::remove_all(dir);
}
