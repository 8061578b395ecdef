#pragma once

#include <array>
#include <bit>
#include <cstddef>

#include "effect/StereoPair.h"

namespace quorvel {

// A left and a right filter of the same kind and settings, run in the two lanes of a pair for
// the length of a block: the states are taken over on construction and handed back, with the
// settings the left filter ended on, on destruction. [audio-thread]
//
// Filter keeps its memories in a `State<T>` made of T fields only, advances them with a static
// `Step(State<T>&, T, Coefficients)` and copies its settings with `TakeSettingsOf`.
template <class Filter>
class StereoFilter {
 public:
  using Coefficients = typename Filter::Coefficients;

  StereoFilter(Filter& left, Filter& right)
      : left_(left), right_(right), state_(Join(left.state_, right.state_)) {}
  ~StereoFilter() {
    right_.TakeSettingsOf(left_);
    Split(state_, left_.state_, right_.state_);
  }
  StereoFilter(const StereoFilter&) = delete;
  StereoFilter& operator=(const StereoFilter&) = delete;

  // At the left filter's settings.
  StereoPair Process(StereoPair x) { return Filter::Step(state_, x, left_.CurrentCoefficients()); }
  // At coefficients the left filter gave for another setting; the settings are not changed.
  StereoPair Process(StereoPair x, const Coefficients& c) { return Filter::Step(state_, x, c); }

 private:
  using MonoState = typename Filter::template State<double>;
  using PairState = typename Filter::template State<StereoPair>;
  static constexpr std::size_t kFields = sizeof(MonoState) / sizeof(double);
  static_assert(sizeof(PairState) == kFields * sizeof(StereoPair), "a state of T fields only");

  static PairState Join(const MonoState& left, const MonoState& right) {
    const auto l = std::bit_cast<std::array<double, kFields>>(left);
    const auto r = std::bit_cast<std::array<double, kFields>>(right);
    std::array<StereoPair, kFields> joined;
    for (std::size_t i = 0; i < kFields; ++i) joined[i] = Pack(l[i], r[i]);
    return std::bit_cast<PairState>(joined);
  }

  static void Split(const PairState& pair, MonoState& left, MonoState& right) {
    const auto joined = std::bit_cast<std::array<StereoPair, kFields>>(pair);
    std::array<double, kFields> l, r;
    for (std::size_t i = 0; i < kFields; ++i) {
      l[i] = joined[i][0];
      r[i] = joined[i][1];
    }
    left = std::bit_cast<MonoState>(l);
    right = std::bit_cast<MonoState>(r);
  }

  Filter& left_;
  Filter& right_;
  PairState state_;
};

}  // namespace quorvel
