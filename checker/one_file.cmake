# Writes brannik-testlib as one self-contained C++ source, for systems that
# compile a checker from one file (Polygon): the checker's library and the
# testlib-style main, with the project's own includes left out.
# Usage: cmake -DOUT=<file> -P one_file.cmake
set(parts regs.h judge.h regs.cpp judge.cpp testlib_main.cpp)
set(text "// brannik-testlib in one file, written by the build from the checker's sources.\n")
string(APPEND text "// Standard C++ only: g++ -std=c++20 -O2 brannik-testlib.cpp -o brannik-testlib\n")
foreach(part IN LISTS parts)
  file(READ ${CMAKE_CURRENT_LIST_DIR}/${part} source)
  # Every source opens with a comment line, so these lines never come first.
  string(REGEX REPLACE "\n#include \"[^\n]*\"" "" source "${source}")
  string(REPLACE "\n#pragma once" "" source "${source}")
  string(APPEND text "\n// ---- ${part}\n${source}")
endforeach()
file(WRITE ${OUT} "${text}")
