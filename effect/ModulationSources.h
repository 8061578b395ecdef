#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "effect/AdsrEnvelope.h"
#include "effect/DecibelGain.h"
#include "effect/EnvelopeFollower.h"
#include "effect/GateDetector.h"
#include "effect/ModulationSlot.h"
#include "effect/QuorvelParameters.h"
#include "effect/TableLfo.h"

namespace quorvel {

// The four oscillators: LFO 1 and 2 and their half-speed triangle copies for the chorus delay.
enum class LfoId : int { Lfo1, SlowLfo1, Lfo2, SlowLfo2 };

inline constexpr int kLfoCount = 4;

// Tempo-synced LFO rate: bps times one of 1/2, 2/3, 1, 2, 3, 4, 6, 8, chosen evenly over the
// normalized travel of the rate knob (plain value v, 0 … 1, power-curve exponent 2).
double SyncedRate(double v, double beatsPerSecond);

// The engine's modulation sources: two LFOs with slow copies, the envelope follower and the
// gate-triggered ADSR, set from the parameter snapshot once per block and run per sample on
// the detector signal. Audio thread only unless marked.
//
// Per block: ApplySourceSettings and ConfigureLfos (block refresh), RealignLfoRestarts,
// RenderLfos, GenerateModSources, the slot evaluations (StandardSources, and
// RenderSlowLfos for the chorus delay), AdvanceLfos at the end.
class ModulationSources {
 public:
  // Grows every per-block buffer to n values. [main-thread] before processing, or the audio
  // thread when a block outgrows all earlier ones.
  void EnsureBuffers(std::size_t n);

  // Follower speed, floor and ceiling; gate thresholds and hold; ADSR times.
  void ApplySourceSettings(std::span<const double, kParamCount> paramValues);
  // LFO shapes, rates and tempo-sync restart periods. tempo in beats per minute; 0 or less
  // (or not finite) means 120.
  void ConfigureLfos(std::span<const double, kParamCount> paramValues, double sampleRate,
                     double tempo);
  // Realigns the synced restarts of LFO 1 and 2 to the host's sample position when it moved
  // (-1 when the host gives none).
  void RealignLfoRestarts(double hostSamplePosition, std::size_t n);

  // LFO 1 and LFO 2 render the block (values in -1 … 1 until GenerateModSources halves them).
  void RenderLfos(std::size_t n);
  // Per sample: synced restarts, follower, gate, ADSR; halves the LFO 1 and LFO 2 buffers.
  // detL and detR are the untrimmed detector channels, inputGain the linear input trim.
  void GenerateModSources(const double* detL, const double* detR, std::size_t n, double inputGain);
  // Follower, ADSR, LFO 1 and LFO 2 buffers of the block.
  SourceBuffers StandardSources() const;
  // Renders the slow copies (after GenerateModSources, so this block's restarts count),
  // halves them and returns the sources of the chorus delay slot.
  SourceBuffers RenderSlowLfos(std::size_t n);
  // Moves all four oscillators by the block.
  void AdvanceLfos(std::size_t n);

  // New sample rate: oscillators keep their phases, follower, gate and ADSR start over.
  void ResetDsp(double sampleRate);
  // Forgets the restart counters and the host position (processing restarts).
  void ResetRestarts();

  TableLfo& Lfo(LfoId id) { return lfos_[Index(id)]; }
  const TableLfo& Lfo(LfoId id) const { return lfos_[Index(id)]; }
  std::int32_t RestartCounter(LfoId id) const { return counters_[Index(id)]; }
  std::int32_t RestartPeriod(LfoId id) const { return periods_[Index(id)]; }

  const EnvelopeFollower& Follower() const { return follower_; }
  const GateDetector& Gate() const { return gate_; }
  const AdsrEnvelope& Adsr() const { return adsr_; }
  // Linear gate thresholds and follower range as last applied.
  double GateOnLevel() const { return gateOn_; }
  double GateOffLevel() const { return gateOff_; }
  double EnvFloor() const { return envFloor_; }
  double EnvCeiling() const { return envCeiling_; }

 private:
  static std::size_t Index(LfoId id) { return static_cast<std::size_t>(id); }
  void ConfigureRestarts(LfoId lfo, LfoId slow, bool synced, double rate, double sampleRate);
  void StepRestart(LfoId id);

  std::array<TableLfo, kLfoCount> lfos_;
  std::array<std::int32_t, kLfoCount> counters_{};
  std::array<std::int32_t, kLfoCount> periods_{};
  std::int64_t lastHostPosition_ = -1;

  EnvelopeFollower follower_;
  GateDetector gate_;
  AdsrEnvelope adsr_;
  std::vector<double> envBuffer_;
  std::vector<double> adsrBuffer_;
  double envFloor_ = 0.0;
  double envCeiling_ = 0.0;
  double gateOn_ = 0.0;
  double gateOff_ = 0.0;
  DecibelGain floorGain_, ceilingGain_, gateOnGain_, gateOffGain_;
};

}  // namespace quorvel
