#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

#include "effect/QuorvelParameters.h"

namespace quorvel {

// The modulated settings, in slot order.
enum class ModSlot : int {
  Cutoff,
  Drive,
  Output,
  ChorusWet,
  ChorusDelay,
  PhaserWet,
  PhaserFreq1,
  PhaserFreq2,
  PhaserFreq3,
};

inline constexpr int kModSlotCount = 9;

// The block buffers a slot can follow. LFO values lie in -0.5 … 0.5, the follower and the
// ADSR in 0 … 1. Each pointer holds at least the block length.
struct SourceBuffers {
  const double* envFollower = nullptr;
  const double* adsr = nullptr;
  const double* lfo1 = nullptr;
  const double* lfo2 = nullptr;
};

// Turns a setting's base value, a source and a strength into one value per sample. The
// source moves the setting's normalized position by strength · source. Audio thread only.
class ModulationSlot {
 public:
  // Plain parameter values: the source parameter (rounded, clamped to a ModSource) and the
  // strength (-1 … 1).
  void ApplySettings(double sourceValue, double strength);

  // Grows the buffer to n values; call outside the audio callback to avoid allocating.
  void EnsureBuffer(std::size_t n);

  // Setting linear in min … max.
  std::span<const double> ModulatedLinear(double min, double max, double base,
                                          const SourceBuffers& sources, std::size_t n);
  // Setting on a power curve: normalized position = ((value - min) / (max - min))^(1/exponent).
  std::span<const double> ModulatedCurve(double min, double max, double base,
                                         const SourceBuffers& sources, std::size_t n,
                                         double exponent);

  ModSource Source() const { return source_; }
  double Strength() const { return strength_; }
  // Normalized position of the last value of the last evaluation (what a motorized knob
  // shows); kept while the slot is not evaluated.
  double LastNormalized() const;

 private:
  const double* Select(const SourceBuffers& sources) const;

  // The last value and the mapping it came from; LastNormalized works the position out only
  // when asked, as the indicators want it a few times a second.
  struct LastValue {
    double value = 0.0;
    double min = 0.0;
    double width = 1.0;
    double exponent = 1.0;
    bool curved = false;  // linear ones are not limited
  };
  // The curve's normalized base position for a base and mapping, kept while they hold.
  struct CurveBase {
    double base = std::nan("");
    double min = 0.0;
    double width = 0.0;
    double exponent = 0.0;
    double position = 0.0;
  };

  ModSource source_ = ModSource::NoModulation;
  double strength_ = 0.0;
  LastValue last_;
  CurveBase curveBase_;
  std::vector<double> buffer_;
};

using ModulationSlots = std::array<ModulationSlot, kModSlotCount>;

// The modulation pair (source and strength parameters) that drives a slot.
const ModulationPair& PairOf(ModSlot slot);

// Reads every slot's source and strength from the parameter snapshot. [audio-thread]
void ApplySlotSettings(ModulationSlots& slots, std::span<const double, kParamCount> paramValues);

}  // namespace quorvel
