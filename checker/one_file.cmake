# Writes a program of the checker family as one self-contained C++ source, for
# systems that compile a program from one file (Polygon, a Kattis-format
# package): its parts in order, with the project's own includes left out. A
# part is named relative to this folder, or by its full path when the build
# writes it (the release header). A part written MACRO?part is kept only
# where MACRO is defined (the parts that CMS's build of the checker adds).
# Usage: cmake -DOUT=<file> -DPROGRAM=<name> -DPARTS=<part>,<part>,... -P one_file.cmake
string(REPLACE "," ";" parts "${PARTS}")
set(text "// ${PROGRAM} in one file, written by the build from the checker's sources.\n")
string(APPEND text "// Nothing but the compiler and the system headers: g++ -std=c++20 -O2 ${PROGRAM}.cpp -o ${PROGRAM}\n")
foreach(part IN LISTS parts)
  set(condition "")
  if(part MATCHES "^([A-Z_]+)\\?(.*)$")
    set(condition ${CMAKE_MATCH_1})
    set(part ${CMAKE_MATCH_2})
  endif()
  if(NOT IS_ABSOLUTE ${part})
    set(part ${CMAKE_CURRENT_LIST_DIR}/${part})
  endif()
  file(READ ${part} source)
  get_filename_component(name ${part} NAME)
  # Every source opens with a comment line, so these lines never come first.
  string(REGEX REPLACE "\n#include \"[^\n]*\"" "" source "${source}")
  string(REPLACE "\n#pragma once" "" source "${source}")
  if(condition)
    string(APPEND text "\n// ---- ${name}, where ${condition} is defined\n#ifdef ${condition}\n${source}#endif\n")
  else()
    string(APPEND text "\n// ---- ${name}\n${source}")
  endif()
endforeach()
file(WRITE ${OUT} "${text}")
