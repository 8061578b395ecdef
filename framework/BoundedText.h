#pragma once

#include <cstddef>
#include <string>

namespace plugkit {

// Names and labels live in fixed-size host fields; a null text reads as empty.
inline std::string BoundedText(const char* text, std::size_t maxLength) {
  std::string s = text ? text : "";
  if (s.size() > maxLength) s.resize(maxLength);
  return s;
}

}  // namespace plugkit
