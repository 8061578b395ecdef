#include "effect/ModulationSources.h"

#include <algorithm>
#include <cmath>

#include "effect/BlockBuffer.h"
#include "framework/SaturatingCast.h"

namespace quorvel {
namespace {

static_assert(ChoiceOf(ParamIndex::Lfo1Shape).Count() == kWaveShapeCount &&
              ChoiceOf(ParamIndex::Lfo2Shape).Count() == kWaveShapeCount);

// SyncedRate takes the knob's travel as the square root of the rate.
constexpr bool SquareCurveOverUnitRange(const RangeParam& p) {
  return p.min == 0.0 && p.max == 1.0 && p.curve == 2.0;
}
static_assert(SquareCurveOverUnitRange(RangeOf(ParamIndex::Lfo1Rate)) &&
              SquareCurveOverUnitRange(RangeOf(ParamIndex::Lfo2Rate)));

int RoundedShape(double v) {
  return std::clamp(plugkit::SaturateTruncate<std::int32_t>(std::round(v)), 0, kWaveShapeCount - 1);
}

// Samples until the next synced restart so that restarts fall on multiples of the period
// counted from the host's position a.
std::int32_t RestartOffset(double a, std::int32_t period) {
  if (period <= 0) return 0;
  const double b = period;
  const double offset = b - std::trunc(a - std::floor((a - 1.0) / b) * b);
  // Only far beyond double precision of the position can this leave 0 … b.
  return plugkit::SaturateTruncate<std::int32_t>(std::clamp(offset, 0.0, b));
}

std::int32_t CyclePeriod(double sampleRate, double rate) {
  // One table cycle lasts 2 / rate seconds.
  return plugkit::SaturateTruncate<std::int32_t>(2.0 * std::trunc(sampleRate / rate));
}

}  // namespace

double SyncedRate(double v, double beatsPerSecond) {
  const double bps = beatsPerSecond;
  const double knob = std::sqrt(std::clamp(v, 0.0, 1.0));
  const std::int32_t k = std::clamp(plugkit::SaturateTruncate<std::int32_t>(knob * 7.0), 0, 7);
  switch (k) {
    case 0:
      return bps * 0.5;
    case 1:
      return 2.0 * bps / 3.0;
    case 2:
      return bps;
    case 3:
      return 2.0 * bps;
    case 4:
      return 3.0 * bps;
    case 5:
      return 4.0 * bps;
    case 6:
      return 6.0 * bps;
    default:
      return 8.0 * bps;
  }
}

void ModulationSources::EnsureBuffers(std::size_t n) {
  for (TableLfo& lfo : lfos_) lfo.EnsureBuffer(n);
  GrowBlockBuffer(envBuffer_, n);
  GrowBlockBuffer(adsrBuffer_, n);
}

void ModulationSources::ApplySourceSettings(std::span<const double, kParamCount> paramValues) {
  const auto value = [&](ParamIndex p) { return paramValues[ToIndex(p)]; };

  const double speed = value(ParamIndex::EnvFollowerSpeed);
  follower_.SetAttack(10.0 + 40.0 * (1.0 - speed));
  follower_.SetRelease(100.0 + 400.0 * (1.0 - speed));

  envFloor_ = floorGain_(value(ParamIndex::EnvFollowerFloor));
  envCeiling_ = ceilingGain_(value(ParamIndex::EnvFollowerCeiling));

  const double threshold = value(ParamIndex::AdsrGateOnThreshold);
  gateOn_ = gateOnGain_(threshold);
  gateOff_ = gateOffGain_(threshold - value(ParamIndex::AdsrGateHysteresis));
  gate_.SetThresholds(gateOn_, gateOff_);
  gate_.SetHold(value(ParamIndex::AdsrGateHold));

  adsr_.Configure(value(ParamIndex::AdsrAttack) * 6000.0, value(ParamIndex::AdsrDecay) * 6000.0,
                  value(ParamIndex::AdsrSustain), value(ParamIndex::AdsrRelease) * 6000.0);
}

void ModulationSources::ConfigureLfos(std::span<const double, kParamCount> paramValues,
                                      double sampleRate, double tempo) {
  const auto value = [&](ParamIndex p) { return paramValues[ToIndex(p)]; };

  const bool sync1 = value(ParamIndex::Lfo1TempoSync) >= 0.5;
  const bool sync2 = value(ParamIndex::Lfo2TempoSync) >= 0.5;
  Lfo(LfoId::Lfo1).SetTable(GetWaveTable(RoundedShape(value(ParamIndex::Lfo1Shape))));
  Lfo(LfoId::Lfo2).SetTable(GetWaveTable(RoundedShape(value(ParamIndex::Lfo2Shape))));

  const double bps = (tempo > 0.0 && std::isfinite(tempo) ? tempo : 120.0) / 60.0;
  const double v1 = value(ParamIndex::Lfo1Rate);
  const double v2 = value(ParamIndex::Lfo2Rate);
  const double rate1 = sync1 ? SyncedRate(v1, bps) : 16.0 * v1;
  const double rate2 = sync2 ? SyncedRate(v2, bps) : 16.0 * v2;

  Lfo(LfoId::Lfo1).SetRate(rate1);
  Lfo(LfoId::Lfo2).SetRate(rate2);
  Lfo(LfoId::SlowLfo1).SetRate(rate1 * 0.5);
  Lfo(LfoId::SlowLfo2).SetRate(rate2 * 0.5);

  ConfigureRestarts(LfoId::Lfo1, LfoId::SlowLfo1, sync1, rate1, sampleRate);
  ConfigureRestarts(LfoId::Lfo2, LfoId::SlowLfo2, sync2, rate2, sampleRate);
}

void ModulationSources::ConfigureRestarts(LfoId lfo, LfoId slow, bool synced, double rate,
                                          double sampleRate) {
  std::int32_t& period = periods_[Index(lfo)];
  std::int32_t& slowPeriod = periods_[Index(slow)];
  std::int32_t& counter = counters_[Index(lfo)];
  std::int32_t& slowCounter = counters_[Index(slow)];
  if (synced && rate > 0.0) {
    const double slowRate = rate * 0.5;
    period = CyclePeriod(sampleRate, rate);
    slowPeriod = slowRate > 0.0 ? CyclePeriod(sampleRate, slowRate) : 0;
    counter = std::min(counter, period);
    slowCounter = std::min(slowCounter, slowPeriod);
  } else {
    period = slowPeriod = counter = slowCounter = 0;
  }
}

void ModulationSources::RealignLfoRestarts(double hostSamplePosition, std::size_t n) {
  const std::int64_t pos = plugkit::SaturateTruncate<std::int64_t>(hostSamplePosition);
  if (pos == lastHostPosition_) return;
  const double a = static_cast<double>(pos) - static_cast<double>(n);
  for (LfoId id : {LfoId::Lfo1, LfoId::Lfo2}) {
    const std::int32_t period = periods_[Index(id)];
    const std::int32_t aligned = RestartOffset(a, period);
    std::int32_t& counter = counters_[Index(id)];
    // 0 and a full period are the same point of the cycle: a counter just reloaded by a
    // restart on the previous block's last sample must not restart the oscillator again.
    if (!(aligned == 0 && counter == period)) counter = aligned;
  }
  lastHostPosition_ = pos;
}

void ModulationSources::RenderLfos(std::size_t n) {
  Lfo(LfoId::Lfo1).Render(n);
  Lfo(LfoId::Lfo2).Render(n);
}

void ModulationSources::StepRestart(LfoId id) {
  const std::int32_t period = periods_[Index(id)];
  if (period <= 0) return;
  std::int32_t& counter = counters_[Index(id)];
  if (--counter <= 0) {
    Lfo(id).Restart();
    counter = period;
  }
}

void ModulationSources::GenerateModSources(const double* detL, const double* detR, std::size_t n,
                                           double inputGain) {
  EnsureBuffers(n);
  const std::span<double> lfo1 = Lfo(LfoId::Lfo1).Rendered(n);
  const std::span<double> lfo2 = Lfo(LfoId::Lfo2).Rendered(n);
  const double envRange = std::max(envCeiling_ - envFloor_, 1e-9);
  for (std::size_t i = 0; i < n; ++i) {
    StepRestart(LfoId::Lfo1);
    StepRestart(LfoId::SlowLfo1);
    StepRestart(LfoId::Lfo2);
    StepRestart(LfoId::SlowLfo2);

    const double d = 0.75 * inputGain * (detL[i] + detR[i]);
    const double e = follower_.Process(d);
    envBuffer_[i] = std::clamp((e - envFloor_) / envRange, 0.0, 1.0);

    const bool wasOpen = gate_.IsOpen();
    const bool isOpen = gate_.Process(d);
    if (wasOpen && !isOpen) adsr_.NoteOff();
    if (isOpen && !wasOpen) adsr_.NoteOn();
    adsrBuffer_[i] = adsr_.Tick();

    lfo1[i] *= 0.5;
    lfo2[i] *= 0.5;
  }
}

SourceBuffers ModulationSources::StandardSources() const {
  return {envBuffer_.data(), adsrBuffer_.data(), lfos_[Index(LfoId::Lfo1)].Values(),
          lfos_[Index(LfoId::Lfo2)].Values()};
}

SourceBuffers ModulationSources::RenderSlowLfos(std::size_t n) {
  const std::span<double> slow1 = Lfo(LfoId::SlowLfo1).Render(n);
  const std::span<double> slow2 = Lfo(LfoId::SlowLfo2).Render(n);
  for (double& v : slow1) v *= 0.5;
  for (double& v : slow2) v *= 0.5;
  return {envBuffer_.data(), adsrBuffer_.data(), slow1.data(), slow2.data()};
}

void ModulationSources::AdvanceLfos(std::size_t n) {
  for (TableLfo& lfo : lfos_) lfo.Advance(n);
}

void ModulationSources::ResetDsp(double sampleRate) {
  for (TableLfo& lfo : lfos_) lfo.SetSampleRate(sampleRate);
  follower_.SetSampleRate(sampleRate);
  gate_.SetSampleRate(sampleRate);
  adsr_.Reset(sampleRate);
}

void ModulationSources::ResetRestarts() {
  counters_.fill(0);
  lastHostPosition_ = -1;
}

}  // namespace quorvel
