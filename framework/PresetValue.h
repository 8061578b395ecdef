#pragma once

namespace plugkit {

// One (parameter index, value) pair of a preset. Integers are meant for Bool, Int and Enum
// parameters and floating-point values for Double parameters; either converts as needed.
struct PresetValue {
  constexpr PresetValue(int index, int value) : index(index), value(value), isInteger(true) {}
  constexpr PresetValue(int index, double value) : index(index), value(value), isInteger(false) {}

  int index;
  double value;
  bool isInteger;
};

}  // namespace plugkit
