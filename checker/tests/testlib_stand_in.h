// Stands in for the testlib.h that CMS forces into a Polygon checker's source
// (g++ -include testlib.h -DCMS) where CMS is not installed: global names and
// macros of the kinds that header brings, so that a clash of the checker's
// own names with them fails here as it would there.
#pragma once

#include <cstdio>
#include <cstdlib>

#define VERSION "stand-in"
#define random __random_deprecated
#define LF ((char)10)
#define CR ((char)13)
#define TAB ((char)9)
#define SPACE ((char)' ')
#define EOFC (255)
#define I64 "%lld"
#define NORETURN __attribute__((noreturn))
#define OK_EXIT_CODE 0
#define ensure(cond) ((cond) ? (void)0 : std::abort())

enum TResult { _ok, _wa, _pe, _fail, _dirt, _points, _unexpected_eof, _partially = 16 };
struct InStream {
  std::FILE* file = nullptr;
};
inline InStream inf, ouf, ans;
NORETURN inline void quit(TResult result, const char* message) {
  std::fprintf(stderr, "%s\n", message);
  std::exit(result);
}
