#pragma once

namespace plugkit {

// Where a parameter change came from.
enum class ParamSource : int {
  Reset = 0,
  Host = 1,
  Preset = 2,
  UI = 3,
  EditorDelegate = 4,
  Recompile = 5,
  Unknown = 6,
};

// Display name such as "Editor Delegate"; "Unknown" for values outside the enumeration.
const char* ParamSourceName(ParamSource source);

}  // namespace plugkit
