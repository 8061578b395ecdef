#pragma once

#include <array>
#include <atomic>

#include "effect/ControlTag.h"
#include "effect/QuorvelParameters.h"

namespace quorvel {

// What a modulation slot shows: its source, its strength and the normalized position of
// its last value.
struct SlotIndicator {
  ModSource source = ModSource::NoModulation;
  double strength = 0.0;
  double lastNormalized = 0.0;
};

// The engine state one publication reads.
struct IndicatorSnapshot {
  bool cutoffOn = false;
  bool driveOn = false;
  bool chorusOn = false;
  bool phaserOn = false;
  double limiterIndicator = 0.0;  // held peak excess of the brickwall limiter
  SlotIndicator cutoff, drive, output, chorusWet, chorusDelay, phaserWet;
  SlotIndicator phaserFrequency1, phaserFrequency2, phaserFrequency3;
  bool gateOpen = false;
  bool gateHolding = false;
  // Linear amplitudes.
  double gateLevel = 0.0;      // the gate detector's envelope
  double followerLevel = 0.0;  // the envelope follower's envelope
  double envFloor = 0.0;
  double envCeiling = 0.0;
  double gateOff = 0.0;
  double gateOn = 0.0;
};

// The last source values of a block: follower and ADSR in 0 … 1, the LFOs shifted to 0 … 1.
struct SourceValues {
  double follower = 0.0;
  double adsr = 0.0;
  double lfo1 = 0.0;
  double lfo2 = 0.0;
};

// Needle position of a linear amplitude: −24 dBFS maps to 0, full scale to 1.
double MeterPosition(double amplitude);

// How strongly a slot is moving: 0 when its stage is off, 1 without a source, otherwise
// the source value times the square root of the strength's magnitude.
double ModulationActivity(const SlotIndicator& slot, bool stageOn, const SourceValues& sources);

// Values handed from the audio thread to the editor, one per indicator tag. The audio
// thread is the only writer; readers may mix two publications but never see a torn value.
class IndicatorValues {
 public:
  IndicatorValues();

  void Publish(const IndicatorSnapshot& state, const SourceValues& sources);  // [audio-thread]
  double Load(ControlTag tag) const;  // [thread-safe] 0 for tags without a value

 private:
  void Store(ControlTag tag, double value);

  std::array<std::atomic<double>, kIndicatorCount> values_;
};

}  // namespace quorvel
