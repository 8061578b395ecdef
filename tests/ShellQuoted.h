// A string as one word of a POSIX shell command line.

#pragma once

#include <string>

namespace quorvelTest {

inline std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace quorvelTest
