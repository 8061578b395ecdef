#include "effect/Chorus.h"

#include "effect/BlockBuffer.h"
#include "effect/FastMath.h"
#include "effect/HotLoop.h"
#include "framework/SaturatingCast.h"

namespace quorvel {

namespace {

int LineLengthFor(double sampleRate) {
  // Two samples at least, so that an interpolated read always has both neighbours.
  const int length = plugkit::SaturateTruncate<std::int32_t>(Chorus::kLineSeconds * sampleRate);
  return length < 2 ? 2 : length;
}

// SetDelay on a delay and its slew limiter, limited to the longest delay.
[[gnu::always_inline]] inline void MoveDelay(double ms, double sampleRate, double& delayMs,
                                             SlewLimiter& slew) {
  const double x = ms < Chorus::kMaxDelayMs ? ms : Chorus::kMaxDelayMs;
  if (x == delayMs) return;
  delayMs = x;
  slew.SetTarget(x * 0.001 * sampleRate);
}

}  // namespace

Chorus::Chorus() {
  EnsureBuffer(1);
  for (TableLfo& lfo : lfos_) {
    lfo.SetTable(GetWaveTable(WaveShape::Nonlinear));
    lfo.SetSampleRate(sampleRate_);
  }
  ApplyRates();
  for (AllpassStage* stage : {&allpassDryL_, &allpassDryR_, &allpassWetL_, &allpassWetR_})
    stage->SetSampleRate(sampleRate_);
  allpassDryL_.SetFrequency(kDryHz);
  allpassDryR_.SetFrequency(kDryHz);
  allpassWetL_.SetFrequency(kWetHz);
  allpassWetR_.SetFrequency(kWetHz);
  depthSlew_.Jump(1.0);
  delaySlew_.Jump(delayMs_ * 0.001 * sampleRate_);
  line_.assign(static_cast<std::size_t>(LineLengthFor(sampleRate_)), 0.0);
}

void Chorus::ApplyRates() {
  lfos_[0].SetRate(baseRate_);
  lfos_[1].SetRate((spread_ * 0.33 + 1.0) * baseRate_);
  lfos_[2].SetRate((spread_ * 0.67 + 1.0) * baseRate_);
  lfos_[3].SetRate((spread_ * 1.33 + 1.0) * baseRate_);
}

void Chorus::SetSpread(double value) {
  if (value != spread_) {
    spread_ = value;
    ApplyRates();
  }
}

void Chorus::SetDelay(double ms) { MoveDelay(ms, sampleRate_, delayMs_, delaySlew_); }

void Chorus::SetSuperStereo(bool on) { superStereo_ = on; }

void Chorus::EnsureBuffer(std::size_t n) {
  GrowBlockBuffer(taps_, n);
  GrowBlockBuffer(voiceValues_, n);
  for (std::vector<double>* buffer : {&blockDelay_, &blockDepth_}) GrowBlockBuffer(*buffer, n);
}

inline void Chorus::LocateTwo(StereoQuad delay, int w, TapPair& first, TapPair& second) const {
  using Ints = int __attribute__((vector_size(16)));
  const int length = static_cast<int>(line_.size());
  const StereoQuad zero{};
  // Delays stay within the line whatever the settings; NaN reads the newest sample.
  const StereoQuad p = fastmath::Max(fastmath::Min(zero + (length - 1), delay), zero);
  // p lies in 0 … length − 1, where truncation to 32 bits is exact.
  const Ints whole = __builtin_convertvector(p, Ints);
  const StereoQuad fraction = p - __builtin_convertvector(whole, StereoQuad);
  Ints newer = w - whole;
  newer += (newer < 0) & length;
  Ints older = newer - 1;
  older += (older < 0) & length;
  first = {{newer[0], newer[1]}, {older[0], older[1]}, FirstPair(fraction)};
  second = {{newer[2], newer[3]}, {older[2], older[3]}, SecondPair(fraction)};
}

QUORVEL_HOT_LOOP void Chorus::PrepareBlock(const double* delays, int n) {
  if (n < 1) return;
  EnsureBuffer(static_cast<std::size_t>(n));
  const auto count = static_cast<std::size_t>(n);
  // Copies, so that they stay in registers: stores of the block's values could alias members.
  const double rate = sampleRate_;
  double delayMs = delayMs_;
  SlewLimiter delaySlew = delaySlew_;
  SlewLimiter depthSlew = depthSlew_;
  for (std::size_t i = 0; i < count; ++i) {
    MoveDelay(delays[i], rate, delayMs, delaySlew);
    delaySlew.Tick();
    depthSlew.Tick();
    blockDelay_[i] = delaySlew.Value();
    blockDepth_[i] = depthSlew.Value();
  }
  delayMs_ = delayMs;
  delaySlew_ = delaySlew;
  depthSlew_ = depthSlew;
  // The right taps run a quarter cycle ahead; without super stereo they repeat the left ones.
  // Each voice runs through the block on its own, its phase in a register.
  for (std::size_t k = 0; k < kVoiceCount; ++k) {
    lfos_[k].TickPairs(superStereo_, 0.25, count,
                       [this, k](std::size_t i, StereoPair v) { voiceValues_[i][k] = v; });
  }
  const int length = static_cast<int>(line_.size());
  int w = writeIndex_;
  for (std::size_t i = 0; i < count; ++i) {
    // Voices 4 to 1, two at a time.
    const std::array<StereoPair, kVoiceCount>& v = voiceValues_[i];
    for (std::size_t k = 0; k < kVoiceCount; k += 2) {
      LocateTwo((Join(v[kVoiceCount - 1 - k], v[kVoiceCount - 2 - k]) * blockDepth_[i] + 1.0) *
                    blockDelay_[i],
                w, taps_[i][k], taps_[i][k + 1]);
    }
    if (++w >= length) w = 0;
  }
}

void Chorus::Reset(double rate) {
  sampleRate_ = rate;
  for (TableLfo& lfo : lfos_) lfo.SetSampleRate(rate);
  for (AllpassStage* stage : {&allpassDryL_, &allpassDryR_, &allpassWetL_, &allpassWetR_})
    stage->SetSampleRate(rate);
  depthSlew_.Snap();
  delaySlew_.Jump(delayMs_ * 0.001 * rate);
  writeIndex_ = 0;
  line_.assign(static_cast<std::size_t>(LineLengthFor(rate)), 0.0);
}

void Chorus::ClearNonFiniteStages() {
  for (AllpassStage* stage : {&allpassDryL_, &allpassDryR_, &allpassWetL_, &allpassWetR_})
    stage->ClearIfNotFinite();
}

StereoChorus::StereoChorus(Chorus& c)
    : chorus_(c),
      superStereo_(c.superStereo_),
      dryStages_(c.allpassDryL_, c.allpassDryR_),
      wetStages_(c.allpassWetL_, c.allpassWetR_, !superStereo_),
      taps_(c.taps_.data()) {}

}  // namespace quorvel
