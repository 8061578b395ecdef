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

void Chorus::SetWet(double value) {
  wet = value;
  dryScale = 1.0 / (value + 1.0);
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

double Chorus::Read(double delay) const {
  const int length = static_cast<int>(line.size());
  // Delays stay within the line whatever the settings; NaN reads the newest sample.
  const double p = !(delay > 0.0) ? 0.0 : (delay < length - 1 ? delay : length - 1);
  const int i = static_cast<int>(p);
  const double fr = p - i;
  int a = writeIndex - i;
  if (a < 0)
    a += length;
  int b = a - 1;
  if (b < 0)
    b += length;
  return (1.0 - fr) * line[a] + fr * line[b];
}

void Chorus::Taps(double dryL, double dryR, double& sumL, double& sumR) {
  line[writeIndex] = (dryR + dryL) * 0.5;
  delaySlew.Tick();
  depthSlew.Tick();
  const double delay = delaySlew.Value();
  const double depth = depthSlew.Value();
  sumL = 0.0;
  for (int k = kVoiceCount - 1; k >= 0; --k) sumL += Read((lfos[k].Tick() * depth + 1.0) * delay);
  if (superStereo) {
    sumR = 0.0;
    for (int k = kVoiceCount - 1; k >= 0; --k)
      sumR += Read((lfos[k].Peek(0.25) * depth + 1.0) * delay);
  }
}

void Chorus::Process(double& left, double& right) {
  ProcessBlock(&left, &right, nullptr, nullptr, 1);
}

void Chorus::ProcessBlock(double* left, double* right, const double* wetValues,
                          const double* delayMs, int n) {
  if (superStereo)
    ProcessSuperStereo(left, right, wetValues, delayMs, n);
  else
    ProcessMono(left, right, wetValues, delayMs, n);
}

void Chorus::ProcessSuperStereo(double* left, double* right, const double* wetValues,
                                const double* delayMs, int n) {
  StereoAllpass dryStages(allpassDryL, allpassDryR);
  StereoAllpass wetStages(allpassWetL, allpassWetR);
  for (int i = 0; i < n; ++i) {
    if (wetValues)
      SetWet(wetValues[i]);
    if (delayMs)
      SetDelay(delayMs[i]);
    const StereoPair d = dryScale * Pack(left[i], right[i]);
    const StereoPair out = dryStages.Process(d);
    double sumL = 0.0, sumR = 0.0;
    Taps(d[0], d[1], sumL, sumR);
    const StereoPair mixed = wetStages.Process(Pack(sumL, sumR)) * wet + out;
    left[i] = mixed[0];
    right[i] = mixed[1];
    Advance();
  }
}

void Chorus::ProcessMono(double* left, double* right, const double* wetValues,
                         const double* delayMs, int n) {
  StereoAllpass dryStages(allpassDryL, allpassDryR);
  for (int i = 0; i < n; ++i) {
    if (wetValues)
      SetWet(wetValues[i]);
    if (delayMs)
      SetDelay(delayMs[i]);
    const StereoPair d = dryScale * Pack(left[i], right[i]);
    const StereoPair out = dryStages.Process(d);
    double sumL = 0.0, sumR = 0.0;
    Taps(d[0], d[1], sumL, sumR);
    // Both channels share the left wet signal, scaled by the square of the wet amount.
    const double wetL = allpassWetL.Process(sumL);
    left[i] = wet * (wet * wetL) + out[0];
    right[i] = (wet * wetL) * wet + out[1];
    Advance();
  }
}

void Chorus::Advance() {
  if (++writeIndex >= static_cast<int>(line.size()))
    writeIndex = 0;
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

}  // namespace quorvel
