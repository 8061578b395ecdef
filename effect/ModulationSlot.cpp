#include "effect/ModulationSlot.h"

#include <algorithm>
#include <cmath>

#include "effect/BlockBuffer.h"
#include "framework/SaturatingCast.h"

namespace quorvel {
namespace {

// Index into kModulationPairs for each slot, in slot order.
constexpr std::array<int, kModSlotCount> kPairOfSlot{0, 1, 8, 6, 7, 2, 3, 4, 5};

double Unit(double x) { return std::clamp(x, 0.0, 1.0); }

// Fills out[i] = power(position_i) * w + min along the curve, with an unchanged position
// reusing the last value: sources often hold still (flat stretches of a square or a saw, a
// sustained ADSR).
template <class Power>
void FillCurve(double* out, const double* s, std::size_t n, double g, double strength, double w,
               double min, Power power) {
  double last = std::nan("");
  double value = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double u = Unit(g + strength * s[i]);
    if (!(u == last)) {
      last = u;
      value = power(u) * w + min;
    }
    out[i] = value;
  }
}

}  // namespace

void ModulationSlot::ApplySettings(double sourceValue, double strength) {
  const std::int32_t s = plugkit::SaturateTruncate<std::int32_t>(std::round(sourceValue));
  source_ = static_cast<ModSource>(std::clamp(s, 0, kModSourceCount - 1));
  strength_ = strength;
}

void ModulationSlot::EnsureBuffer(std::size_t n) { GrowBlockBuffer(buffer_, n); }

const double* ModulationSlot::Select(const SourceBuffers& sources) const {
  switch (source_) {
    case ModSource::Lfo1:
      return sources.lfo1;
    case ModSource::Adsr:
      return sources.adsr;
    case ModSource::EnvFollower:
      return sources.envFollower;
    case ModSource::Lfo2:
      return sources.lfo2;
    case ModSource::NoModulation:
      break;
  }
  return nullptr;
}

std::span<const double> ModulationSlot::ModulatedLinear(double min, double max, double base,
                                                        const SourceBuffers& sources,
                                                        std::size_t n) {
  EnsureBuffer(n);
  if (n == 0) return {};
  const double* s = Select(sources);
  if (s == nullptr) {
    std::fill_n(buffer_.begin(), n, base);
  } else {
    const double range = max - min;
    for (std::size_t i = 0; i < n; ++i) {
      double v = range * strength_ * s[i] + base;
      if (v > max) v = max;
      if (v < min) v = min;
      buffer_[i] = v;
    }
  }
  last_ = {buffer_[n - 1], min, max - min, 1.0, false};
  return {buffer_.data(), n};
}

std::span<const double> ModulationSlot::ModulatedCurve(double min, double max, double base,
                                                       const SourceBuffers& sources, std::size_t n,
                                                       double exponent) {
  EnsureBuffer(n);
  if (n == 0) return {};
  const double w = max - min;
  const double* s = Select(sources);
  if (s == nullptr) {
    std::fill_n(buffer_.begin(), n, base);
  } else {
    CurveBase& c = curveBase_;
    if (!(c.base == base && c.min == min && c.width == w && c.exponent == exponent))
      c = {base, min, w, exponent, std::pow(Unit((base - min) / w), 1.0 / exponent)};
    const double g = c.position;
    double* out = buffer_.data();
    // The curves in use have half-integer exponents, where a square root does the work
    // of the far dearer general power.
    if (exponent == 2.5)
      FillCurve(out, s, n, g, strength_, w, min, [](double u) { return u * u * std::sqrt(u); });
    else if (exponent == 1.5)
      FillCurve(out, s, n, g, strength_, w, min, [](double u) { return u * std::sqrt(u); });
    else
      FillCurve(out, s, n, g, strength_, w, min,
                [exponent](double u) { return std::pow(u, exponent); });
  }
  last_ = {buffer_[n - 1], min, w, exponent, true};
  return {buffer_.data(), n};
}

double ModulationSlot::LastNormalized() const {
  const LastValue& l = last_;
  if (!l.curved) return (l.value - l.min) / l.width;
  // Limited so that a base outside the range cannot hand the knob a NaN.
  return std::pow(Unit((l.value - l.min) / l.width), 1.0 / l.exponent);
}

const ModulationPair& PairOf(ModSlot slot) {
  return kModulationPairs[static_cast<std::size_t>(kPairOfSlot[static_cast<int>(slot)])];
}

void ApplySlotSettings(ModulationSlots& slots, std::span<const double, kParamCount> paramValues) {
  for (int k = 0; k < kModSlotCount; ++k) {
    const ModulationPair& pair = PairOf(static_cast<ModSlot>(k));
    slots[static_cast<std::size_t>(k)].ApplySettings(paramValues[ToIndex(pair.source)],
                                                     paramValues[ToIndex(pair.strength)]);
  }
}

}  // namespace quorvel
