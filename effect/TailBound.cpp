#include "effect/TailBound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <limits>

#include "effect/AllpassStage.h"
#include "effect/BiquadFilter.h"
#include "effect/Chorus.h"
#include "effect/DriveStage.h"
#include "effect/LadderFilter.h"
#include "effect/Phaser.h"
#include "framework/SaturatingCast.h"

namespace quorvel {
namespace {

using Complex = std::complex<double>;
using P = ParamIndex;

constexpr double kEndless = std::numeric_limits<double>::infinity();
// 60 dB below full scale plus 40 dB for the resonant gain inside the loops.
constexpr double kDecay = 1e-5;
constexpr int kMaxDegree = 4;
// Settings tried across a modulation range, ends included.
constexpr int kGridPoints = 9;
constexpr int kPhaserGridPoints = 5;

double Value(std::span<const double, kParamCount> values, P index) {
  return values[static_cast<size_t>(ToIndex(index))];
}

bool On(double v) { return v >= 0.5; }

// The roots of z^n + c[0] z^(n-1) + … + c[n-1], n = count (Durand–Kerner). Coinciding roots
// come out spread by about the n-th root of the rounding error, which only ever overstates
// the largest radius.
struct Roots {
  std::array<Complex, kMaxDegree> z{};
  int count = 0;
};

Roots RootsOf(const std::array<double, kMaxDegree>& c, int n) {
  Roots r;
  r.count = n;
  Complex seed(0.4, 0.9);
  Complex w(1.0, 0.0);
  for (int i = 0; i < n; ++i, w *= seed) r.z[static_cast<size_t>(i)] = w;
  for (int iteration = 0; iteration < 100; ++iteration) {
    double largestStep = 0.0;
    for (int i = 0; i < n; ++i) {
      Complex& zi = r.z[static_cast<size_t>(i)];
      Complex value(1.0, 0.0);
      for (int k = 0; k < n; ++k) value = value * zi + c[static_cast<size_t>(k)];
      Complex product(1.0, 0.0);
      for (int j = 0; j < n; ++j)
        if (j != i) product *= zi - r.z[static_cast<size_t>(j)];
      // Two guesses that met are pushed apart.
      const Complex step = std::abs(product) > 0.0 ? value / product : Complex(1e-9, 1e-9);
      zi -= step;
      largestStep = std::max(largestStep, std::abs(step));
    }
    if (largestStep < 1e-12) break;
  }
  return r;
}

// t such that e^-t · (1 + t + … + t^(m-1)/(m-1)!) = kDecay: the free response of m
// coinciding poles of radius ρ falls by kDecay after t / −ln ρ samples.
double DecayExponent(int m) {
  static const std::array<double, kMaxDegree + 1> exponents = [] {
    std::array<double, kMaxDegree + 1> t{};
    for (int cluster = 1; cluster <= kMaxDegree; ++cluster) {
      double low = 0.0, high = 200.0;
      for (int i = 0; i < 100; ++i) {
        const double mid = 0.5 * (low + high);
        double term = 1.0, sum = 1.0;
        for (int k = 1; k < cluster; ++k) sum += term *= mid / k;
        (std::exp(-mid) * sum > kDecay ? low : high) = mid;
      }
      t[static_cast<size_t>(cluster)] = high;
    }
    return t;
  }();
  return exponents[static_cast<size_t>(std::clamp(m, 1, kMaxDegree))];
}

// Samples for a response with these poles to fall by kDecay; endless for a pole on or
// outside the unit circle. Poles closer to one another than the slowest one is to the unit
// circle count as coinciding.
double DecayOf(const Roots& roots) {
  double radius = 0.0;
  for (int i = 0; i < roots.count; ++i)
    radius = std::max(radius, std::abs(roots.z[static_cast<size_t>(i)]));
  if (!(radius < 1.0)) return kEndless;
  if (radius < 1e-12) return roots.count;
  int cluster = 1;
  for (int i = 0; i < roots.count; ++i) {
    int near = 0;
    for (int j = 0; j < roots.count; ++j)
      if (std::abs(roots.z[static_cast<size_t>(i)] - roots.z[static_cast<size_t>(j)]) <=
          1.0 - radius)
        ++near;
    cluster = std::max(cluster, near);
  }
  return DecayExponent(cluster) / -std::log(radius);
}

double SinglePoleDecay(double pole) {
  Roots r;
  r.z[0] = pole;
  r.count = 1;
  return DecayOf(r);
}

// Four one-pole stages of step g with the averaged output fed back, a sample late, by r:
// (1 − q/z)^4 + (r g^4 / 2)(1 + 1/z)/z = 0 with q = 1 − g, times z^4.
double LadderDecay(double hz, double resonance, double rate) {
  LadderFilter ladder;
  ladder.Reset(rate);
  ladder.SetResonance(resonance);
  ladder.SetCutoff(hz);
  const double g = ladder.StageStep();
  const double q = 1.0 - g;
  const double k = 0.5 * ladder.CurrentCoefficients().resonanceScale * g * g * g * g;
  if (k == 0.0) {
    // Without resonance the four poles coincide exactly; no need to find them.
    Roots same;
    same.z.fill(q);
    same.count = 4;
    return DecayOf(same);
  }
  return DecayOf(RootsOf({k - 4.0 * q, k + 6.0 * q * q, -4.0 * q * q * q, q * q * q * q}, 4));
}

double BiquadDecay(double hz, double q, double rate) {
  HPF filter;
  filter.SetSampleRate(rate);
  if (q > 0.0) filter.SetQ(q);
  filter.SetFrequency(hz);
  const BiquadFilter::Coefficients c = filter.CurrentCoefficients();
  return DecayOf(RootsOf({c.a1, c.a2}, 2));
}

// Stages with poles a, b, c and their output fed back, a sample late, by gain into the first:
// z (z − a)(z − b)(z − c) − gain (a z − 1)(b z − 1)(c z − 1).
double PhaserLoopDecay(double a, double b, double c, double gain) {
  const double s1 = a + b + c;
  const double s2 = a * b + b * c + c * a;
  const double s3 = a * b * c;
  return DecayOf(RootsOf({-s1 - gain * s3, s2 * (1.0 + gain), -s3 - gain * s1, gain}, 4));
}

// The values a source can take (LFOs swing ±0.5, the follower and the ADSR 0 … 1).
struct Span {
  double low, high;
};

Span SourceSpan(double sourceValue) {
  const auto s = plugkit::SaturateTruncate<int32_t>(std::round(sourceValue));
  switch (static_cast<ModSource>(std::clamp(s, 0, kModSourceCount - 1))) {
    case ModSource::Lfo1:
    case ModSource::Lfo2:
      return {-0.5, 0.5};
    case ModSource::Adsr:
    case ModSource::EnvFollower:
      return {0.0, 1.0};
    case ModSource::NoModulation:
      break;
  }
  return {0.0, 0.0};
}

Span SourceSpanOf(std::span<const double, kParamCount> values, const ModulationPair& pair) {
  return SourceSpan(Value(values, pair.source));
}

double StrengthOf(std::span<const double, kParamCount> values, const ModulationPair& pair) {
  const double strength = Value(values, pair.strength);
  return std::isfinite(strength) ? strength : 0.0;
}

const ModulationPair& PairFor(P base) {
  for (const ModulationPair& pair : kModulationPairs)
    if (pair.base == base) return pair;
  return kModulationPairs.front();
}

// The range a setting on a power curve reaches, as the modulation slot maps it, times unit
// (the setting, its range's ends and the result alike).
Span CurveRange(std::span<const double, kParamCount> values, const RangeParam& param, double unit) {
  const ModulationPair& pair = PairFor(param.index);
  const double setting = Value(values, param.index) * unit;
  const Span s = SourceSpanOf(values, pair);
  if (s.low == 0.0 && s.high == 0.0) return {setting, setting};
  const double strength = StrengthOf(values, pair);
  const double min = param.min * unit;
  const double w = param.max * unit - min;
  const double exponent = param.curve;
  const double g = std::pow(std::clamp((setting - min) / w, 0.0, 1.0), 1.0 / exponent);
  const double u1 = std::clamp(g + strength * s.low, 0.0, 1.0);
  const double u2 = std::clamp(g + strength * s.high, 0.0, 1.0);
  return {std::pow(std::min(u1, u2), exponent) * w + min,
          std::pow(std::max(u1, u2), exponent) * w + min};
}

// The range of a linear setting of -1 … 1 around 0, as the phaser's frequency slots have.
Span PhaserShiftRange(std::span<const double, kParamCount> values, P base) {
  const ModulationPair& pair = PairFor(base);
  const Span s = SourceSpanOf(values, pair);
  const double strength = StrengthOf(values, pair);
  const double m1 = std::clamp(2.0 * strength * s.low, -1.0, 1.0);
  const double m2 = std::clamp(2.0 * strength * s.high, -1.0, 1.0);
  // With super stereo the right chain moves the opposite way.
  const double low = std::min(m1, m2), high = std::max(m1, m2);
  return {std::min(low, -high), std::max(high, -low)};
}

double GridPoint(Span range, int i, int count, bool logarithmic) {
  if (count < 2 || range.low == range.high) return range.low;
  const double t = static_cast<double>(i) / (count - 1);
  if (logarithmic && range.low > 0.0) return range.low * std::pow(range.high / range.low, t);
  return range.low + (range.high - range.low) * t;
}

double CutoffDecay(std::span<const double, kParamCount> values, double rate) {
  const Span hz = CurveRange(values, RangeOf(P::CutoffFilterFrequency), 1.0);
  const double resonance = Value(values, P::Resonance);
  const int shape = std::clamp(
      plugkit::SaturateTruncate<int32_t>(std::round(Value(values, P::CutoffFilterShape))), 0,
      ChoiceOf(P::CutoffFilterShape).Count() - 1);
  const double corner = shape == 1 ? 0.25 : 0.75;
  double ladder = 0.0, bandPass = 0.0;
  for (int i = 0; i < kGridPoints; ++i) {
    const double f = GridPoint(hz, i, kGridPoints, true);
    ladder = std::max(ladder, LadderDecay(f, resonance, rate));
    if (shape != 0)
      bandPass = std::max(bandPass, BiquadDecay(corner * f, 4.0 * resonance + 1.0, rate));
  }
  return ladder + bandPass;
}

double PhaserDecay(std::span<const double, kParamCount> values, double rate) {
  // The first stage sweeps a factor of 8 either way of its corner.
  AllpassStage sweep;
  sweep.SetSampleRate(rate);
  sweep.SetFrequency(Phaser::kSweepHz);
  const Span sweepScale{std::max(Phaser::kMinHz / Phaser::kSweepHz, 0.125),
                        std::min(Phaser::kMaxHz / Phaser::kSweepHz, 8.0)};
  double first = 0.0;
  for (int i = 0; i < kGridPoints; ++i)
    first =
        std::max(first, SinglePoleDecay(sweep.PoleAt(GridPoint(sweepScale, i, kGridPoints, true))));

  // The poles each loop stage can reach across its modulation.
  constexpr std::array<P, 3> kFrequencies{P::PhaserFrequency1, P::PhaserFrequency2,
                                          P::PhaserFrequency3};
  std::array<std::array<double, kPhaserGridPoints>, 3> poles{};
  for (size_t k = 0; k < 3; ++k) {
    const double hz = Value(values, kFrequencies[k]);
    const double base = !(hz > Phaser::kMinHz) ? Phaser::kMinHz : std::min(hz, Phaser::kMaxHz);
    AllpassStage stage;
    stage.SetSampleRate(rate);
    stage.SetFrequency(base);
    const Span shift = PhaserShiftRange(values, kFrequencies[k]);
    for (int i = 0; i < kPhaserGridPoints; ++i) {
      const double m = GridPoint(shift, i, kPhaserGridPoints, false);
      const double scale =
          std::clamp(std::exp(Phaser::kDepth * m), Phaser::kMinHz / base, Phaser::kMaxHz / base);
      poles[k][static_cast<size_t>(i)] = stage.PoleAt(scale);
    }
  }
  const double gain = Value(values, P::PhaserFeedback);
  double loop = 0.0;
  for (double a : poles[0])
    for (double b : poles[1])
      for (double c : poles[2]) loop = std::max(loop, PhaserLoopDecay(a, b, c, gain));
  return first + loop;
}

double ChorusDecay(std::span<const double, kParamCount> values, double rate) {
  AllpassStage dry, wet;
  for (AllpassStage* stage : {&dry, &wet}) stage->SetSampleRate(rate);
  dry.SetFrequency(Chorus::kDryHz);
  wet.SetFrequency(Chorus::kWetHz);
  // The taps wander up to twice the delay, within the line; reads interpolate one sample.
  const double delayMs =
      std::min(CurveRange(values, RangeOf(P::ChorusDelay), Chorus::kMsPerDelayUnit).high,
               Chorus::kMaxDelayMs);
  const double longestTap =
      std::min(2.0 * std::max(delayMs, 0.0) * 0.001 * rate, Chorus::kLineSeconds * rate) + 1.0;
  return std::max(SinglePoleDecay(dry.PoleAt(1.0)), longestTap + SinglePoleDecay(wet.PoleAt(1.0)));
}

}  // namespace

int TailSamplesFor(std::span<const double, kParamCount> values, double sampleRate) {
  if (!(sampleRate > 0.0) || !std::isfinite(sampleRate)) return 0;
  double total = 0.0;
  if (On(Value(values, P::CutoffFilterEnable))) total += CutoffDecay(values, sampleRate);
  total += BiquadDecay(Value(values, P::HighPassFrequency), 0.0, sampleRate);
  // The drive's envelope only scales what passes; its ladders hold the ring.
  if (On(Value(values, P::DriveEnable)))
    total += LadderDecay(DriveStage::kLadderCutoff, DriveStage::kLadderResonance, sampleRate);
  if (On(Value(values, P::PhaserEnable))) total += PhaserDecay(values, sampleRate);
  if (On(Value(values, P::ChorusEnable))) total += ChorusDecay(values, sampleRate);
  if (!(total < kEndlessTail - 1.0)) return kEndlessTail;
  return std::max(1, static_cast<int>(std::ceil(total)));
}

}  // namespace quorvel
