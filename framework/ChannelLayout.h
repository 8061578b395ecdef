#pragma once

#include <string_view>
#include <vector>

namespace plugkit {

enum class Direction : int { Input = 0, Output = 1 };

// One bus of a channel layout; a wildcard bus ("*") has kWildcardChannels.
struct BusLayout {
  static constexpr int kWildcardChannels = -64;

  Direction direction = Direction::Input;
  int channelCount = 0;
};

struct ChannelLayout {
  std::vector<BusLayout> inputBuses;
  std::vector<BusLayout> outputBuses;

  const std::vector<BusLayout>& Buses(Direction d) const {
    return d == Direction::Input ? inputBuses : outputBuses;
  }
};

struct ParsedChannelLayouts {
  std::vector<ChannelLayout> layouts;
  int maxInputChannels = 0;
  int maxOutputChannels = 0;
  int maxInputBuses = 0;
  int maxOutputBuses = 0;
};

// Parses a layout string such as "1-1 2-2 2.1-2": layouts separated by spaces, input and
// output parts separated by "-", bus channel counts separated by ".". A count of 0 adds no
// bus but still counts toward the side's total; "*" is a wildcard bus.
ParsedChannelLayouts ParseChannelLayouts(std::string_view text);

}  // namespace plugkit
