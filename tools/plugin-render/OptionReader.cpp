#include "tools/plugin-render/OptionReader.h"

#include <cerrno>
#include <cstdlib>

namespace quorvelRender {

bool OptionReader::Next() {
  if (next_ >= args_.size()) return false;
  option_ = args_[next_++];
  inlineValue_.reset();
  if (option_.rfind("--", 0) == 0) {
    const std::size_t equals = option_.find('=');
    if (equals != std::string::npos) {
      inlineValue_ = option_.substr(equals + 1);
      option_.resize(equals);
    }
  }
  return true;
}

std::optional<std::string> OptionReader::Value(std::string& error, bool nonEmpty) {
  std::optional<std::string> value = inlineValue_;
  if (!value && next_ < args_.size()) value = args_[next_++];
  if (!value) {
    error = option_ + " needs a value";
  } else if (nonEmpty && value->empty()) {
    error = option_ + " needs a non-empty value";
    value.reset();
  }
  return value;
}

bool OptionReader::NoValue(std::string& error) const {
  if (inlineValue_) error = option_ + " takes no value";
  return !inlineValue_;
}

std::optional<std::pair<std::string, std::string>> OptionReader::Setting(std::string& error) {
  const auto text = Value(error);
  if (!text) return std::nullopt;
  const std::size_t equals = text->find('=');
  if (equals == std::string::npos || equals == 0) {
    error = option_ + " expects NAME=TEXT, not '" + *text + "'";
    return std::nullopt;
  }
  return std::pair{text->substr(0, equals), text->substr(equals + 1)};
}

std::optional<double> ParseNumber(const std::string& text, double low, double high) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || errno != 0 || !(value >= low && value <= high)) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> ParsePositive(const std::string& text, double high) {
  const auto value = ParseNumber(text, 0.0, high);
  return value && *value > 0.0 ? value : std::nullopt;
}

}  // namespace quorvelRender
