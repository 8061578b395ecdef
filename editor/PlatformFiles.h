#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// What the editor's preference file and manual search need of the operating system. Paths
// are UTF-8 text.

inline constexpr char kPathSeparator =
    static_cast<char>(std::filesystem::path::preferred_separator);

// [thread-safe] The user's folder for application settings, ending in a separator; empty when
// the system names none. Linux: $XDG_CONFIG_HOME (when absolute) or ~/.config. Windows: the
// roaming application-data folder.
std::string UserSettingsFolder();

// [thread-safe] Creates the folder with its missing parents. True when it exists afterwards,
// and also when a file of that name stands in the way (opening a file in it then fails).
bool MakeFolders(const std::string& folder);

// [main-thread] The first line of a regular file (without its line feed), read no further
// than maxLength + 1 bytes, so a longer line comes back longer than maxLength. Nothing when the
// file cannot be opened or is not a regular file; never waits for a writer. Others may read
// and write the file meanwhile.
std::optional<std::string> ReadFirstLine(const std::string& path, std::size_t maxLength);

// [main-thread] Replaces the file's content: written beside it and moved over it, so a failed
// write keeps the old content.
bool ReplaceFileContent(const std::string& path, std::string_view content);

// [thread-safe] The module the running code belongs to, as the window layer takes it: an
// address inside the module on Linux, the module's handle (HMODULE) on Windows.
void* ModuleAnchor();

// [thread-safe] The full file name of the module ModuleAnchor names (absolute when the loader
// knows the folder); empty when unknown.
std::string ModuleFilePath(const void* anchor);

}  // namespace quorvel
