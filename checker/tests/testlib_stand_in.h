// Stands in for the testlib.h that CMS forces into a Polygon checker's source
// (g++ -include testlib.h -DCMS) where CMS is not installed: global names and
// macros of the kinds that header brings, so that a clash of the checker's
// own names with them fails here as it would there.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#define VERSION "stand-in"
#define random __random_deprecated
#define LF ((char)10)
#define CR ((char)13)
#define TAB ((char)9)
#define SPACE ((char)' ')
#define EOFC (255)
#define I64 "%lld"
#define U64 "%llu"
#define NORETURN __attribute__((noreturn))
#define OK_EXIT_CODE 0
#define WA_EXIT_CODE 1
#define PE_EXIT_CODE 2
#define FAIL_EXIT_CODE 3
#define ensure(cond) ((cond) ? (void)0 : std::abort())

enum TResult { _ok, _wa, _pe, _fail, _dirt, _points, _unexpected_eof, _partially = 16 };
enum TMode { _input, _output, _answer };

struct InStream {
  std::string name;
  TMode mode = _input;
  bool strict = false;
};
inline InStream inf, ouf, ans;

NORETURN inline void quit(TResult result, const char* message) {
  std::fprintf(stderr, "%s\n", message);
  std::exit(result);
}
inline std::string format(const char* text) { return text; }
inline void registerTestlibCmd(int, char**) {}
