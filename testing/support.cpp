// What the tests of both families share.
#include "support.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace support {

ShellRun run_shell(const std::string& dir, const std::string& command) {
  ScratchDir capture;
  const std::string out = capture.path + "/out", err = capture.path + "/err";
  const int raw = std::system(
      ("cd '" + dir + "' && (" + command + ") </dev/null >'" + out + "' 2>'" + err + "'").c_str());
  return {read_file(out), read_file(err), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
}

std::string faketime(const std::string& clock) {
  // The sanitizer runtime must come first among the libraries; faketime's is preloaded.
  return "TZ=UTC ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 faketime -f '" + clock +
         "' ";
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

bool exists(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

ScratchDir::ScratchDir() {
  std::string pattern = (fs::temp_directory_path() / "contest-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  path = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

void InTempDir::SetUp() {
  dir.emplace();
  previous = fs::current_path().string();
  fs::current_path(dir->path);
}

void InTempDir::TearDown() {
  fs::current_path(previous);
  dir.reset();
}

Stream::Stream(const std::string& text) : file(std::tmpfile()) {
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
}

Stream::~Stream() { std::fclose(file); }

namespace {

ssize_t read_script(void* cookie, char* to, std::size_t size) {
  auto* s = static_cast<ScriptedStream*>(cookie);
  if (s->at >= s->good) {
    errno = EIO;
    return -1;
  }
  if (s->text.empty()) return 0;
  const std::size_t from = s->at % s->text.size();
  const std::size_t n = std::min({size, s->good - s->at, s->text.size() - from});
  std::memcpy(to, s->text.data() + from, n);
  s->at += n;
  return static_cast<ssize_t>(n);
}

}  // namespace

ScriptedStream::ScriptedStream(std::string text, std::size_t good)
    : text(std::move(text)),
      good(good),
      file(fopencookie(this, "r", {read_script, nullptr, nullptr, nullptr})) {}

ScriptedStream::~ScriptedStream() { std::fclose(file); }

Image read_netpbm(const std::string& path) {
  const std::string file = read_file(path);
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

}  // namespace support
