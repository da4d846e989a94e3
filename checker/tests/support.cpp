// Helpers of the checker's tests: scratch folders, files, and runs of the built programs.
#include "support.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace support {

Outcome run_shell(const std::string& dir, const std::string& command) {
  // The captures lie outside dir, so that a test sees only the files it made there.
  ScratchDir capture;
  const std::string out = capture.path + "/out", err = capture.path + "/err";
  const int raw = std::system(
      ("cd '" + dir + "' && (" + command + ") </dev/null >'" + out + "' 2>'" + err + "'").c_str());
  return {read_file(out), read_file(err), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

ScratchDir::ScratchDir() {
  std::string pattern = (fs::temp_directory_path() / "checker-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  path = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

}  // namespace support
