#pragma once

#include <optional>
#include <span>
#include <string>
#include <utility>

namespace quorvelRender {

// Reads command-line words one at a time, taking "--name value" and "--name=value" alike.
class OptionReader {
 public:
  explicit OptionReader(std::span<const std::string> args) : args_(args) {}

  // Moves to the next word; false when none is left.
  bool Next();
  // The word, without an inline "=value".
  const std::string& Option() const { return option_; }
  // The option's value, inline or the next word; none, with `error` set, when it is missing or
  // (with nonEmpty) empty.
  std::optional<std::string> Value(std::string& error, bool nonEmpty = false);
  // For an option that takes no value: false, with `error` set, when one was given inline.
  bool NoValue(std::string& error) const;
  // The option's value through `parse`, which gives an optional; none, with `error` saying
  // what was expected ("--rate expects <expected>, not 'x'"), when it gives none.
  template <class Parse>
  auto Parsed(std::string& error, const std::string& expected, Parse parse)
      -> decltype(parse(std::string{})) {
    const auto text = Value(error);
    if (!text) return std::nullopt;
    auto value = parse(*text);
    if (!value) error = option_ + " expects " + expected + ", not '" + *text + "'";
    return value;
  }
  // The option's value split as NAME=TEXT, as --set takes it.
  std::optional<std::pair<std::string, std::string>> Setting(std::string& error);

 private:
  std::span<const std::string> args_;
  std::size_t next_ = 0;
  std::string option_;
  std::optional<std::string> inlineValue_;
};

// The text as a number, when all of it is one and it lies within low … high.
std::optional<double> ParseNumber(const std::string& text, double low, double high);
// The text as a number above 0 and up to high.
std::optional<double> ParsePositive(const std::string& text, double high);

}  // namespace quorvelRender
