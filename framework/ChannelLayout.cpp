#include "framework/ChannelLayout.h"

#include <algorithm>
#include <charconv>

namespace plugkit {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    pieces.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}

int ParseCount(std::string_view piece) {
  if (piece == "*") return BusLayout::kWildcardChannels;
  int count = 0;
  const auto result = std::from_chars(piece.data(), piece.data() + piece.size(), count);
  return result.ec == std::errc() ? count : 0;
}

// Adds the buses of one side and returns its channel total.
int ParseSide(std::string_view part, Direction direction, std::vector<BusLayout>& buses) {
  int total = 0;
  for (std::string_view piece : Split(part, '.')) {
    const int count = ParseCount(piece);
    if (count != 0) buses.push_back({direction, count});
    total += count;
  }
  return total;
}

}  // namespace

ParsedChannelLayouts ParseChannelLayouts(std::string_view text) {
  ParsedChannelLayouts parsed;
  for (std::string_view token : Split(text, ' ')) {
    if (token.empty()) continue;
    ChannelLayout layout;
    const size_t dash = token.find('-');
    const int inputs = ParseSide(token.substr(0, dash), Direction::Input, layout.inputBuses);
    const int outputs =
        dash == std::string_view::npos
            ? 0
            : ParseSide(token.substr(dash + 1), Direction::Output, layout.outputBuses);
    parsed.maxInputChannels = std::max(parsed.maxInputChannels, inputs);
    parsed.maxOutputChannels = std::max(parsed.maxOutputChannels, outputs);
    parsed.maxInputBuses =
        std::max(parsed.maxInputBuses, static_cast<int>(layout.inputBuses.size()));
    parsed.maxOutputBuses =
        std::max(parsed.maxOutputBuses, static_cast<int>(layout.outputBuses.size()));
    parsed.layouts.push_back(std::move(layout));
  }
  return parsed;
}

}  // namespace plugkit
