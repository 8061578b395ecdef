#include "editor/DisplayScalePreference.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

#include "editor/PlatformFiles.h"

namespace quorvel {

namespace {

constexpr const char* kVendorFolder = "Brackmoor Audio";
constexpr const char* kPreferencesFolder = "Preferences";
constexpr const char* kFileSuffix = "-display-scale.txt";
// Longer than any scale this file ever holds; anything beyond is not a preference we wrote.
constexpr std::size_t kMaxLineLength = 256;
constexpr std::size_t kMaxWrittenLength = 31;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool StartsHex(std::string_view text) {
  return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// strtof in the C locale, which the host cannot switch to a decimal comma: the forms it takes
// after the white space and an optional sign (decimal, exponent, hexadecimal, inf, nan).
// Reports how many characters it took (0: none) and whether the value was out of range,
// which includes results below the smallest normal float.
float ParseCFloat(std::string_view text, std::size_t& consumed, bool& rangeError) {
  consumed = 0;
  rangeError = false;
  std::size_t pos = 0;
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) return 0.0f;
  const char* begin = text.data() + pos;
  const char* end = text.data() + text.size();
  float value = 0.0f;
  std::from_chars_result result{begin, std::errc::invalid_argument};
  if (StartsHex(text.substr(pos))) {
    result = std::from_chars(begin + 2, end, value, std::chars_format::hex);
  }
  // "0x" without hexadecimal digits is the number 0 followed by other text.
  if (result.ec == std::errc::invalid_argument) result = std::from_chars(begin, end, value);
  if (result.ptr == begin) return 0.0f;
  consumed = static_cast<std::size_t>(result.ptr - text.data());
  rangeError = result.ec == std::errc::result_out_of_range ||
               (value != 0.0f && std::isfinite(value) && std::fabs(value) < FLT_MIN);
  return negative ? -value : value;
}

}  // namespace

std::string PreferencesFolder() {
  const std::string base = UserSettingsFolder();
  if (base.empty()) return {};
  return base + kVendorFolder + kPathSeparator + kPreferencesFolder + kPathSeparator;
}

std::string DisplayScalePath(std::string_view name) {
  if (name.empty()) return {};
  const std::string folder = PreferencesFolder();
  if (folder.empty()) return {};
  std::string file(name);
  for (char& c : file) {
    if (std::strchr("/\\:*?\"<>|", c)) c = '_';  // also the NUL byte strchr finds
  }
  return folder + file + kFileSuffix;
}

std::optional<float> ParseDisplayScale(std::string_view line) {
  if (line.empty() || line.size() > kMaxLineLength) return std::nullopt;
  if (line.find('\0') != std::string_view::npos) return std::nullopt;
  std::size_t consumed = 0;
  bool rangeError = false;
  const float value = ParseCFloat(line, consumed, rangeError);
  if (rangeError || consumed == 0) return std::nullopt;
  for (char c : line.substr(consumed)) {
    if (!IsSpace(c)) return std::nullopt;
  }
  if (!std::isfinite(value) || value <= 0.0f) return std::nullopt;
  return value;
}

std::optional<float> ReadDisplayScale(std::string_view name) {
  const std::string path = DisplayScalePath(name);
  if (path.empty()) return std::nullopt;
  const std::optional<std::string> line = ReadFirstLine(path, kMaxLineLength);
  if (!line) return std::nullopt;
  return ParseDisplayScale(*line);
}

bool WriteDisplayScale(std::string_view name, float scale) {
  if (!std::isfinite(scale) || scale <= 0.0f) return false;
  const std::string folder = PreferencesFolder();
  const std::string path = DisplayScalePath(name);
  if (folder.empty() || path.empty()) return false;

  char text[64];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, scale, std::chars_format::fixed, 4);
  if (error != std::errc()) return false;
  *end = '\n';
  const std::size_t length = static_cast<std::size_t>(end - text) + 1;
  // A cut-off number would be read back as a different scale.
  if (length > kMaxWrittenLength) return false;
  return MakeFolders(folder) && ReplaceFileContent(path, {text, length});
}

}  // namespace quorvel
