#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "effect/BiquadFilter.h"
#include "effect/Chorus.h"
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
  void ProcessAudioBlock(ParamSnapshot values, const double* const* inputs,
                         double* const* outputs, int n, const ChannelState& channels,
                         const plugkit::TransportInfo& transport);

  // Turns the snapshot into stage settings.
  void RefreshSettings(ParamSnapshot values, double tempo);
  // Grows every per-block buffer to n values; never shrinks.
  void EnsureBuffers(std::size_t n);
  // Clears filter, envelope and feedback memories for a sample rate; oscillator phases and
  // finite all-pass states are kept.
  void ResetDsp(double sampleRate);

  // [thread-safe] What the editor shows.
  const IndicatorValues& Indicators() const { return indicators; }

  double SampleRate() const { return sampleRate; }
  double InputGain() const { return inputGain; }
  double LimiterIndicator() const { return limiterIndicator; }
  int PublishPeriod() const { return publishPeriod; }
  bool CutoffOn() const { return cutoffOn; }
  bool DriveOn() const { return driveOn; }
  bool PhaserOn() const { return phaserOn; }
  bool ChorusOn() const { return chorusOn; }
  bool MotorizedKnobs() const { return motorizedKnobs; }
  const ModulationSources& Sources() const { return sources; }
  const ModulationSlot& Slot(ModSlot slot) const { return slots[static_cast<size_t>(slot)]; }

 private:
  ModulationSlot& SlotAt(ModSlot slot) { return slots[static_cast<size_t>(slot)]; }
  void CopyInputs(const double* const* inputs, int n, const ChannelState& channels);
  void RunCutoffFilter(int n, const SourceBuffers& standard);
  void RunHighPass(int n);
  void RunDrive(int n, const SourceBuffers& standard);
  void RunPhaser(int n, const SourceBuffers& standard);
  void RunChorus(int n, const SourceBuffers& standard);
  void RunOutputGain(int n, const SourceBuffers& standard);
  // True when a sample had to be silenced.
  bool GuardNonFinite(int n);
  void WriteOutputs(double* const* outputs, int n, const ChannelState& channels);
  void ClipBoth(int n);
  void PublishIndicators(const SourceValues& values);

  double sampleRate = 44100.0;
  ModulationSources sources;
  ModulationSlots slots;

  std::vector<double> workL, workR, detL, detR;

  double inputGain = 1.0;
  bool sidechainOn = false;
  bool cutoffOn = false;
  bool driveOn = false;
  bool phaserOn = true;
  bool chorusOn = true;
  bool limiterOn = true;
  bool motorizedKnobs = false;
  int cutoffShape = 0;
  double cutoffBase = 18000.0;
  double driveBase = 0.0;
  double phaserWetBase = 1.0;
  double chorusWetBase = 1.0;
  double chorusDelayMs = 12.5;
  double outputBase = 1.0;
  double limiterIndicator = 0.0;
  int publishCountdown = 1;
  int publishPeriod = 1;

  LadderFilter cutoffL, cutoffR;
  HPF bandPassL, bandPassR;
  HPF highPassL, highPassR;
  DriveStage drive;
  Phaser phaser;
  Chorus chorus;

  IndicatorValues indicators;
};

}  // namespace quorvel
