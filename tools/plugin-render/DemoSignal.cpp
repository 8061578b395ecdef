#include "tools/plugin-render/DemoSignal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace quorvelRender {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPeak = 0.7;

struct Chord {
  double bass;
  std::array<double, 3> notes;
};

// A minor, F, C, G: one chord per bar.
constexpr std::array<Chord, 4> kProgression{{
    {110.0, {220.0, 261.63, 329.63}},
    {87.31, {174.61, 220.0, 261.63}},
    {130.81, {261.63, 329.63, 392.0}},
    {98.0, {196.0, 246.94, 293.66}},
}};

class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed) {}
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
  }

 private:
  std::uint32_t state_;
};

// Adds one sound into both channels from sample start on, for at most length samples.
class Mixer {
 public:
  explicit Mixer(Audio& audio)
      : left_(audio.channels[0]), right_(audio.channels[1]), rate_(audio.sampleRate) {}

  template <class Voice>
  void Add(double startSeconds, double lengthSeconds, double panLeft, double panRight,
           Voice voice) {
    const auto start = static_cast<size_t>(std::max(0.0, std::round(startSeconds * rate_)));
    const auto length = static_cast<size_t>(lengthSeconds * rate_);
    const size_t end = std::min(left_.size(), start + length);
    for (size_t i = start; i < end; ++i) {
      const double dt = static_cast<double>(i - start) / rate_;
      const double v = voice(dt);
      left_[i] += v * panLeft;
      right_[i] += v * panRight;
    }
  }

  double Rate() const { return rate_; }

 private:
  std::vector<double>& left_;
  std::vector<double>& right_;
  double rate_;
};

void AddKick(Mixer& mix, double at) {
  double phase = 0.0;
  Noise click(7u);
  const double rate = mix.Rate();
  mix.Add(at, 0.45, 1.0, 1.0, [&](double dt) {
    phase += kTwoPi * (50.0 + 90.0 * std::exp(-dt * 35.0)) / rate;
    return 0.9 * std::sin(phase) * std::exp(-dt * 7.0) + 0.2 * click.Next() * std::exp(-dt * 400.0);
  });
}

void AddSnare(Mixer& mix, double at) {
  Noise noise(11u);
  mix.Add(at, 0.3, 1.0, 0.95, [&](double dt) {
    return 0.4 * std::sin(kTwoPi * 185.0 * dt) * std::exp(-dt * 20.0) +
           0.45 * noise.Next() * std::exp(-dt * 14.0);
  });
}

void AddHat(Mixer& mix, double at, double level, double decay) {
  Noise noise(23u);
  double previous = 0.0;
  mix.Add(at, 0.25, 0.75, 1.0, [&](double dt) {
    const double n = noise.Next();
    const double bright = n - previous;  // a crude high-pass
    previous = n;
    return level * bright * std::exp(-dt * decay);
  });
}

void AddBass(Mixer& mix, double at, double hz) {
  double low = 0.0;
  const double smoothing = 1.0 - std::exp(-kTwoPi * 500.0 / mix.Rate());
  mix.Add(at, 0.22, 1.0, 1.0, [&](double dt) {
    const double saw = 2.0 * (hz * dt - std::floor(hz * dt)) - 1.0;
    low += smoothing * (saw - low);
    return 0.5 * low * std::min(1.0, dt / 0.005) * std::exp(-dt * 6.0);
  });
}

void AddPad(Mixer& mix, double at, double length, double hz, double detune, double panLeft,
            double panRight) {
  double low = 0.0;
  const double smoothing = 1.0 - std::exp(-kTwoPi * 1200.0 / mix.Rate());
  const double f = hz * (1.0 + detune);
  mix.Add(at, length, panLeft, panRight, [&](double dt) {
    const double saw = 2.0 * (f * dt - std::floor(f * dt)) - 1.0;
    low += smoothing * (saw - low);
    const double envelope = std::min({1.0, dt / 0.08, (length - dt) / 0.1});
    return 0.07 * low * std::max(0.0, envelope);
  });
}

}  // namespace

Audio MakeDemoSignal(int sampleRate, double seconds, double tempo) {
  // Written so that NaN falls to the defaults.
  seconds = seconds > 0.0 ? std::min(seconds, 3600.0) : 0.0;
  tempo = tempo >= 20.0 ? std::min(tempo, 999.0) : 120.0;
  sampleRate = std::clamp(sampleRate, 8000, 384000);
  Audio audio;
  audio.sampleRate = sampleRate;
  const auto frames = static_cast<size_t>(std::max(0.0, seconds) * sampleRate);
  audio.channels.assign(2, std::vector<double>(frames, 0.0));
  Mixer mix(audio);

  const double step = 60.0 / tempo / 4.0;  // a sixteenth note
  const auto steps = static_cast<int>(std::ceil(seconds / step));
  for (int s = 0; s < steps; ++s) {
    const double at = s * step;
    const int inBar = s % 16;
    const Chord& chord = kProgression[static_cast<size_t>((s / 16) % 4)];
    if (inBar == 0 || inBar == 8 || inBar == 10) AddKick(mix, at);
    if (inBar == 4 || inBar == 12) AddSnare(mix, at);
    if (inBar % 2 == 0) {
      const bool open = inBar == 14 && (s / 16) % 2 == 1;
      AddHat(mix, at, inBar % 4 == 2 ? 0.22 : 0.14, open ? 12.0 : 60.0);
    }
    if (inBar == 0 || inBar == 3 || inBar == 6 || inBar == 8 || inBar == 11 || inBar == 14)
      AddBass(mix, at, inBar == 6 || inBar == 14 ? 2.0 * chord.bass : chord.bass);
    if (inBar == 0) {
      for (double hz : chord.notes) {
        AddPad(mix, at, 16 * step, hz, -0.0015, 1.0, 0.35);
        AddPad(mix, at, 16 * step, hz, 0.0015, 0.35, 1.0);
      }
    }
  }

  double peak = 0.0;
  for (const auto& channel : audio.channels)
    for (double v : channel) peak = std::max(peak, std::abs(v));
  if (peak > 0.0) {
    for (auto& channel : audio.channels)
      for (double& v : channel) v *= kPeak / peak;
  }
  return audio;
}

}  // namespace quorvelRender
