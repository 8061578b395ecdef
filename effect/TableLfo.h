#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "effect/StereoPair.h"
#include "effect/WaveTables.h"
#include "framework/SaturatingCast.h"

namespace quorvel {

// Low-frequency oscillator reading a shared wave table with linear interpolation. A table
// rate r completes one cycle in 2 / r seconds. Audio thread only.
class TableLfo {
 public:
  TableLfo();

  // Keeps the phase.
  void SetSampleRate(double sampleRate);
  // Table rate r (cycles per two seconds); rate 0 also rewinds the phase.
  void SetRate(double rate);
  void SetTable(const WaveTable& table);
  void Restart() { phase_ = 0.0; }

  // Grows the block buffer to n values; call outside the audio callback to avoid allocating.
  void EnsureBuffer(std::size_t n);

  // Fills the block buffer with the next n values without moving the stored phase (Advance
  // does that at the end of the block). The returned values may be changed in place.
  std::span<double> Render(std::size_t n);
  // The values of the last Render.
  std::span<double> Rendered(std::size_t n) { return {buffer_.data(), n}; }
  const double* Values() const { return buffer_.data(); }

  // Steps the stored phase once and returns the value there.
  double Tick();
  // The value one step ahead of the stored phase, shifted by offset (0 … 1) of a cycle.
  double Peek(double offset) const;
  // A Tick in the first lane and the Peek(offset) after it in the second, or the tick
  // again without peeks.
  StereoPair TickPair(bool peeks, double offset);
  // n TickPairs in a row, calling out(i, pair) for each.
  template <class Out>
  void TickPairs(bool peeks, double offset, std::size_t n, Out&& out);
  // Moves the stored phase by n steps.
  void Advance(std::size_t n);

  double Rate() const { return rate_; }
  double Phase() const { return phase_; }
  double Increment() const { return increment_; }
  const WaveTable& Table() const { return *table_; }

 private:
  double Lookup(double p) const;
  // TickPair's values at a stepped phase.
  StereoPair PairAt(double phase, bool peeks, double offset) const;
  // Lookup in both lanes.
  StereoPair LookupPair(StereoPair p) const;
  // The phase one step on from phase, wrapped once.
  double Stepped(double phase) const;
  // Peek's value for a stored phase.
  double PeekFrom(double phase, double offset) const;

  double rate_ = 0.0;
  double sampleRate_ = 44100.0;
  double phase_ = 0.0;
  double increment_ = 0.0;
  std::vector<double> buffer_;
  const WaveTable* table_;
};

inline double TableLfo::Tick() {
  phase_ = Stepped(phase_);
  return Lookup(phase_);
}

inline double TableLfo::Peek(double offset) const { return PeekFrom(phase_, offset); }

inline StereoPair TableLfo::TickPair(bool peeks, double offset) {
  phase_ = Stepped(phase_);
  return PairAt(phase_, peeks, offset);
}

template <class Out>
inline void TableLfo::TickPairs(bool peeks, double offset, std::size_t n, Out&& out) {
  // The phase stays in a register: the stores of out could otherwise alias it.
  double phase = phase_;
  for (std::size_t i = 0; i < n; ++i) {
    phase = Stepped(phase);
    out(i, PairAt(phase, peeks, offset));
  }
  phase_ = phase;
}

inline StereoPair TableLfo::PairAt(double phase, bool peeks, double offset) const {
  double second = phase;
  if (peeks) {
    second = offset + phase + increment_;
    if (second >= 1.0) second -= 1.0;
  }
  return LookupPair(Pack(phase, second));
}

inline double TableLfo::Stepped(double phase) const {
  phase += increment_;
  if (phase >= 1.0) phase -= 1.0;
  return phase;
}

inline double TableLfo::PeekFrom(double phase, double offset) const {
  double p = offset + phase + increment_;
  if (p >= 1.0) p -= 1.0;
  return Lookup(p);
}

inline double TableLfo::Lookup(double p) const {
  const double scaled = p * kWaveTableSize;
  // Within the table truncation is the floor, without a library call.
  const std::int64_t j = scaled >= 0.0 && scaled < kWaveTableSize
                             ? static_cast<std::int64_t>(scaled)
                             : plugkit::SaturateTruncate<std::int64_t>(std::floor(scaled));
  const double f = scaled - static_cast<double>(j);
  // Wrapping the index keeps phases outside 0 … 1 (an absurd rate) inside the table.
  constexpr std::int64_t mask = kWaveTableSize - 1;
  const std::int64_t k = j & mask;
  const double a = (*table_)[static_cast<std::size_t>(k)];
  const double b = (*table_)[static_cast<std::size_t>((k + 1) & mask)];
  return a * (1.0 - f) + b * f;
}

inline StereoPair TableLfo::LookupPair(StereoPair p) const {
  constexpr double size = kWaveTableSize;
  const StereoPair scaled = p * size;
  // Outside the table (an absurd rate, NaN) each lane takes the careful way.
  const StereoPair inside =
      _mm_and_pd(_mm_cmpge_pd(scaled, Splat(0.0)), _mm_cmplt_pd(scaled, Splat(size)));
  if (_mm_movemask_pd(inside) != 3) return Pack(Lookup(p[0]), Lookup(p[1]));
  // Within the table truncation to 32 bits is the floor.
  const __m128i j = _mm_cvttpd_epi32(scaled);
  const StereoPair f = scaled - _mm_cvtepi32_pd(j);
  const __m128i mask = _mm_set1_epi32(kWaveTableSize - 1);
  const __m128i k = _mm_and_si128(j, mask);
  const __m128i next = _mm_and_si128(_mm_add_epi32(k, _mm_set1_epi32(1)), mask);
  const WaveTable& t = *table_;
  const auto at = [&t](__m128i index, int lane) {
    const int i = _mm_cvtsi128_si32(lane == 0 ? index : _mm_shuffle_epi32(index, 1));
    return static_cast<double>(t[static_cast<std::size_t>(i)]);
  };
  const StereoPair a = Pack(at(k, 0), at(k, 1));
  const StereoPair b = Pack(at(next, 0), at(next, 1));
  return a * (1.0 - f) + b * f;
}

}  // namespace quorvel
