#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The editor's zoom, remembered per user in a one-line text file: in the user's settings folder
// ($XDG_CONFIG_HOME or ~/.config on Linux, the roaming application data on Windows),
// "Brackmoor Audio/Preferences/<name>-display-scale.txt".
// Not cached: every opening reads the file, every closing writes it, so the last editor
// closed wins.

// [thread-safe] The preference folder ending in "/", empty when the user has no usable
// configuration folder.
std::string PreferencesFolder();

// [thread-safe] Empty when the name or the folder is empty. Characters that are not allowed in
// file names on some system are replaced by "_".
std::string DisplayScalePath(std::string_view name);

// [main-thread] The stored scale when the file holds one finite number above 0 on its first
// line; nothing for a missing, unreadable, oversized or malformed file.
std::optional<float> ReadDisplayScale(std::string_view name);

// [main-thread] Replaces the file with "%.4f" of the scale and a line feed. A non-finite or
// non-positive scale writes nothing. Returns whether the file now holds the value.
bool WriteDisplayScale(std::string_view name, float scale);

// Parses the first line of a preference file: one number, white space around it allowed.
std::optional<float> ParseDisplayScale(std::string_view line);

}  // namespace quorvel
