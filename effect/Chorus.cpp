#include "effect/Chorus.h"

#include "effect/BlockBuffer.h"
#include "effect/FastMath.h"
#include "effect/HotLoop.h"
#include "framework/SaturatingCast.h"

namespace quorvel {

namespace {

constexpr double kDryHz = 880.0;
constexpr double kWetHz = 3400.0;
constexpr double kLineSeconds = 0.2;

int LineLengthFor(double sampleRate) {
  // Two samples at least, so that an interpolated read always has both neighbours.
  const int length = plugkit::SaturateTruncate<std::int32_t>(kLineSeconds * sampleRate);
  return length < 2 ? 2 : length;
}

}  // namespace

Chorus::Chorus() {
  EnsureBuffer(1);
  for (TableLfo& lfo : lfos) {
    lfo.SetTable(GetWaveTable(WaveShape::Nonlinear));
    lfo.SetSampleRate(sampleRate);
  }
  ApplyRates();
  for (AllpassStage* stage : {&allpassDryL, &allpassDryR, &allpassWetL, &allpassWetR})
    stage->SetSampleRate(sampleRate);
  allpassDryL.SetFrequency(kDryHz);
  allpassDryR.SetFrequency(kDryHz);
  allpassWetL.SetFrequency(kWetHz);
  allpassWetR.SetFrequency(kWetHz);
  depthSlew.Jump(1.0);
  delaySlew.Jump(delayMs * 0.001 * sampleRate);
  line.assign(static_cast<std::size_t>(LineLengthFor(sampleRate)), 0.0);
}

void Chorus::ApplyRates() {
  lfos[0].SetRate(baseRate);
  lfos[1].SetRate((spread * 0.33 + 1.0) * baseRate);
  lfos[2].SetRate((spread * 0.67 + 1.0) * baseRate);
  lfos[3].SetRate((spread * 1.33 + 1.0) * baseRate);
}

void Chorus::SetSpread(double value) {
  if (value != spread) {
    spread = value;
    ApplyRates();
  }
}

void Chorus::SetDelay(double ms) {
  const double x = ms < kMaxDelayMs ? ms : kMaxDelayMs;
  if (x == delayMs)
    return;
  delayMs = x;
  delaySlew.SetTarget(x * 0.001 * sampleRate);
}

void Chorus::SetSuperStereo(bool on) {
  superStereo = on;
}

void Chorus::Process(double& left, double& right) {
  PrepareBlock(&delayMs, 1);
  StereoChorus both(*this);
  const StereoPair y = both.Process(Pack(left, right), wet);
  left = y[0];
  right = y[1];
}

void Chorus::EnsureBuffer(std::size_t n) {
  GrowBlockBuffer(taps, n);
  for (std::vector<double>* buffer : {&blockDelay, &blockDepth}) GrowBlockBuffer(*buffer, n);
}

inline void Chorus::LocateTwo(StereoQuad delay, int w, TapPair& first,
                              TapPair& second) const {
  using Ints = int __attribute__((vector_size(16)));
  const int length = static_cast<int>(line.size());
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
  if (n < 1)
    return;
  EnsureBuffer(static_cast<std::size_t>(n));
  const auto count = static_cast<std::size_t>(n);
  for (std::size_t i = 0; i < count; ++i) {
    SetDelay(delays[i]);
    delaySlew.Tick();
    depthSlew.Tick();
    blockDelay[i] = delaySlew.Value();
    blockDepth[i] = depthSlew.Value();
  }
  // The right taps run a quarter cycle ahead; without super stereo they repeat the left ones.
  const int length = static_cast<int>(line.size());
  int w = writeIndex;
  for (std::size_t i = 0; i < count; ++i) {
    // Voices 4 to 1, two at a time.
    for (std::size_t k = 0; k < kVoiceCount; k += 2) {
      const StereoPair a = lfos[kVoiceCount - 1 - k].TickPair(superStereo, 0.25);
      const StereoPair b = lfos[kVoiceCount - 2 - k].TickPair(superStereo, 0.25);
      LocateTwo((Join(a, b) * blockDepth[i] + 1.0) * blockDelay[i], w, taps[i][k], taps[i][k + 1]);
    }
    if (++w >= length)
      w = 0;
  }
}

void Chorus::Reset(double rate) {
  sampleRate = rate;
  for (TableLfo& lfo : lfos) lfo.SetSampleRate(rate);
  for (AllpassStage* stage : {&allpassDryL, &allpassDryR, &allpassWetL, &allpassWetR})
    stage->SetSampleRate(rate);
  depthSlew.Snap();
  delaySlew.Jump(delayMs * 0.001 * rate);
  writeIndex = 0;
  line.assign(static_cast<std::size_t>(LineLengthFor(rate)), 0.0);
}

void Chorus::ClearNonFiniteStages() {
  for (AllpassStage* stage : {&allpassDryL, &allpassDryR, &allpassWetL, &allpassWetR})
    stage->ClearIfNotFinite();
}

StereoChorus::StereoChorus(Chorus& c)
    : chorus(c),
      superStereo(c.superStereo),
      dryStages(c.allpassDryL, c.allpassDryR),
      wetStages(c.allpassWetL, c.allpassWetR, !superStereo),
      taps(c.taps.data()) {}

}  // namespace quorvel
