#include "effect/TableLfo.h"

#include <cmath>

#include "effect/BlockBuffer.h"
#include "effect/HotLoop.h"
#include "framework/SaturatingCast.h"

namespace quorvel {

TableLfo::TableLfo() : table_(&GetWaveTable(WaveShape::Triangle)) {}

void TableLfo::SetSampleRate(double sampleRate) {
  sampleRate_ = sampleRate;
  increment_ = 0.5 * rate_ / sampleRate_;
}

void TableLfo::SetRate(double rate) {
  if (rate == rate_) return;
  rate_ = rate;
  increment_ = 0.5 * rate / sampleRate_;
  if (rate == 0.0) phase_ = 0.0;
}

void TableLfo::SetTable(const WaveTable& table) { table_ = &table; }

void TableLfo::EnsureBuffer(std::size_t n) { GrowBlockBuffer(buffer_, n); }

QUORVEL_HOT_LOOP std::span<double> TableLfo::Render(std::size_t n) {
  EnsureBuffer(n);
  // Two steps share one paired lookup.
  double p = phase_;
  std::size_t i = 0;
  for (; i + 1 < n; i += 2) {
    const double first = Stepped(p);
    p = Stepped(first);
    const StereoPair v = LookupPair(Pack(first, p));
    buffer_[i] = v[0];
    buffer_[i + 1] = v[1];
  }
  if (i < n) buffer_[i] = Lookup(Stepped(p));
  return {buffer_.data(), n};
}

void TableLfo::Advance(std::size_t n) {
  const double p = phase_ + static_cast<double>(n) * increment_;
  const double wrapped = p - std::floor(p);
  // A non-finite rate must not leave the phase poisoned for good.
  phase_ = std::isfinite(wrapped) ? wrapped : 0.0;
}

}  // namespace quorvel
