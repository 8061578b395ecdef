#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "effect/BiquadFilter.h"
#include "effect/Chorus.h"
#include "effect/DecibelGain.h"
#include "effect/DriveStage.h"
#include "effect/IndicatorValues.h"
#include "effect/LadderFilter.h"
#include "effect/ModulationSlot.h"
#include "effect/ModulationSources.h"
#include "effect/Phaser.h"
#include "effect/QuorvelParameters.h"
#include "framework/TransportInfo.h"

namespace quorvel {

using ParamSnapshot = std::span<const double, kParamCount>;

// Which channels the host connected for one block. Inputs 0 and 1 are the main pair, 2 and 3
// the side-chain; outputs 0 and 1 are left and right.
struct ChannelState {
  int connectedInputs = 0;
  int connectedOutputs = 0;
  int outputChannels = 0;       // entries in the output pointer array
  std::uint64_t inputMask = 0;  // bit k set: input channel k connected
  std::uint64_t outputMask = 0;

  bool Input(int k) const { return k < 64 && connectedInputs > k && ((inputMask >> k) & 1u); }
  bool Output(int k) const { return k < 64 && ((outputMask >> k) & 1u); }
};

// The signal chain and its modulation: input trim, cutoff filter, high-pass, drive, phaser,
// chorus, output gain, non-finite guard and brickwall limiter, set from a parameter snapshot
// once per block. All samples are 64-bit. Audio thread unless marked.
class QuorvelEngine {
 public:
  QuorvelEngine();

  // [main-thread] or [audio-thread] Sizes the engine for the rate and the largest block and
  // starts every stage afresh.
  void OnProcessingReset(ParamSnapshot values, double sampleRate, int maxBlock, double tempo);

  // inputs and outputs hold one pointer per channel slot; only connected ones are touched.
  void ProcessAudioBlock(ParamSnapshot values, const double* const* inputs, double* const* outputs,
                         int n, const ChannelState& channels,
                         const plugkit::TransportInfo& transport);

  // Turns the snapshot into stage settings.
  void RefreshSettings(ParamSnapshot values, double tempo);
  // Grows every per-block buffer to n values; never shrinks.
  void EnsureBuffers(std::size_t n);
  // Clears filter, envelope and feedback memories for a sample rate; oscillator phases and
  // finite all-pass states are kept.
  void ResetDsp(double sampleRate);

  // [thread-safe] What the editor shows.
  const IndicatorValues& Indicators() const { return indicators_; }

  double SampleRate() const { return sampleRate_; }
  double InputGain() const { return inputGain_; }
  double LimiterIndicator() const { return limiterIndicator_; }
  int PublishPeriod() const { return publishPeriod_; }
  bool CutoffOn() const { return cutoffOn_; }
  bool DriveOn() const { return driveOn_; }
  bool PhaserOn() const { return phaserOn_; }
  bool ChorusOn() const { return chorusOn_; }
  bool MotorizedKnobs() const { return motorizedKnobs_; }
  const ModulationSources& Sources() const { return sources_; }
  const ModulationSlot& Slot(ModSlot slot) const { return slots_[static_cast<size_t>(slot)]; }

 private:
  ModulationSlot& SlotAt(ModSlot slot) { return slots_[static_cast<size_t>(slot)]; }
  void CopyInputs(const double* const* inputs, int n, const ChannelState& channels);
  // One value per sample for every modulated setting of the enabled stages; null for the
  // stages that are off.
  struct ModulatedValues {
    const double* cutoff = nullptr;
    const double* drive = nullptr;
    const double* phaserWet = nullptr;
    const double* phaserFreq1 = nullptr;
    const double* phaserFreq2 = nullptr;
    const double* phaserFreq3 = nullptr;
    const double* chorusWet = nullptr;
    const double* chorusDelay = nullptr;
    const double* output = nullptr;
  };
  ModulatedValues EvaluateSlots(std::size_t n, const SourceBuffers& standard);
  // Works out every coefficient of the block that does not depend on the signal, so that the
  // pass over the signal makes no library calls.
  void PrepareStages(int n, const ModulatedValues& values);
  // Every stage sample by sample in one pass, so that the stages' feedback loops overlap
  // instead of waiting for one another.
  void RunChain(int n, const ModulatedValues& values);
  // True when a sample had to be silenced.
  bool GuardNonFinite(int n);
  void WriteOutputs(double* const* outputs, int n, const ChannelState& channels);
  void PublishIndicators(const SourceValues& values);

  double sampleRate_ = 44100.0;
  ModulationSources sources_;
  ModulationSlots slots_;

  // The signal, left and right side by side, and the detector's input.
  std::vector<StereoPair> work_;
  std::vector<double> detL_, detR_;
  // Per sample of the block, the coefficients of the modulated cutoff filter.
  std::vector<LadderFilter::Coefficients> ladderCoefficients_;
  std::vector<BiquadFilter::Coefficients> bandPassCoefficients_;

  double inputGain_ = 1.0;
  DecibelGain inputTrimGain_;
  // The defaults until the first snapshot.
  bool sidechainOn_ = SwitchOf(ParamIndex::SidechainDetector).defaultValue;
  bool cutoffOn_ = SwitchOf(ParamIndex::CutoffFilterEnable).defaultValue;
  bool driveOn_ = SwitchOf(ParamIndex::DriveEnable).defaultValue;
  bool phaserOn_ = SwitchOf(ParamIndex::PhaserEnable).defaultValue;
  bool chorusOn_ = SwitchOf(ParamIndex::ChorusEnable).defaultValue;
  bool limiterOn_ = SwitchOf(ParamIndex::BrickwallLimit).defaultValue;
  bool motorizedKnobs_ = SwitchOf(ParamIndex::MotorizedKnobs).defaultValue;
  int cutoffShape_ = ChoiceOf(ParamIndex::CutoffFilterShape).defaultValue;
  double cutoffBase_ = RangeOf(ParamIndex::CutoffFilterFrequency).defaultValue;
  double driveBase_ = RangeOf(ParamIndex::Drive).defaultValue;
  double phaserWetBase_ = RangeOf(ParamIndex::PhaserWet).defaultValue;
  double chorusWetBase_ = RangeOf(ParamIndex::ChorusWet).defaultValue;
  double chorusDelayMs_ = Chorus::kMsPerDelayUnit * RangeOf(ParamIndex::ChorusDelay).defaultValue;
  double outputBase_ = RangeOf(ParamIndex::Output).defaultValue;
  double limiterIndicator_ = 0.0;
  int publishCountdown_ = 1;
  int publishPeriod_ = 1;

  LadderFilter cutoffL_, cutoffR_;
  HPF bandPassL_, bandPassR_;
  HPF highPassL_, highPassR_;
  DriveStage drive_;
  Phaser phaser_;
  Chorus chorus_;

  IndicatorValues indicators_;
};

}  // namespace quorvel
