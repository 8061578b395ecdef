#include "effect/Chorus.h"

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
  if (taps.size() < n)
    taps.resize(n);
}

void Chorus::PrepareBlock(const double* delays, int n) {
  for (int i = 0; i < n; ++i) {
    SetDelay(delays[i]);
    delaySlew.Tick();
    depthSlew.Tick();
    const double delay = delaySlew.Value();
    const double depth = depthSlew.Value();
    std::array<double, 2 * kVoiceCount>& t = taps[static_cast<std::size_t>(i)];
    for (int k = kVoiceCount - 1; k >= 0; --k)
      t[kVoiceCount - 1 - k] = (lfos[k].Tick() * depth + 1.0) * delay;
    if (superStereo) {
      // The right taps run a quarter cycle ahead.
      for (int k = kVoiceCount - 1; k >= 0; --k)
        t[2 * kVoiceCount - 1 - k] = (lfos[k].Peek(0.25) * depth + 1.0) * delay;
    }
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
