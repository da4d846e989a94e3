// The worked register example, which many of the checker's tests judge: a
// task of seven nodes and its accepted answer of the least cost.
#pragma once

#include <string>

namespace support {

inline const std::string WorkedIn = "2\n1 3\n2\n1\n2\n1\n0\n0\n2\n1\n0\n0\n";
inline const std::string WorkedOut = "11\n2 0\n5 1\n1 1\n";

}  // namespace support
