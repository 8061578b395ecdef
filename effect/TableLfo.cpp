#include "effect/TableLfo.h"

#include "framework/SaturatingCast.h"

#include <cmath>

namespace quorvel {

TableLfo::TableLfo() : table_(&GetWaveTable(WaveShape::Triangle)) {}

void TableLfo::SetSampleRate(double sampleRate)
{
    sampleRate_ = sampleRate;
    increment_ = 0.5 * rate_ / sampleRate_;
}

void TableLfo::SetRate(double rate)
{
    if (rate == rate_)
        return;
    rate_ = rate;
    increment_ = 0.5 * rate / sampleRate_;
    if (rate == 0.0)
        phase_ = 0.0;
}

void TableLfo::SetTable(const WaveTable& table) { table_ = &table; }

void TableLfo::EnsureBuffer(std::size_t n)
{
    if (buffer_.size() < n)
        buffer_.resize(n);
}

std::span<double> TableLfo::Render(std::size_t n)
{
    EnsureBuffer(n);
    double p = phase_;
    for (std::size_t i = 0; i < n; ++i) {
        p += increment_;
        if (p >= 1.0)
            p -= 1.0;
        buffer_[i] = Lookup(p);
    }
    return {buffer_.data(), n};
}

double TableLfo::Tick()
{
    phase_ += increment_;
    if (phase_ >= 1.0)
        phase_ -= 1.0;
    return Lookup(phase_);
}

double TableLfo::Peek(double offset) const
{
    double p = offset + phase_ + increment_;
    if (p >= 1.0)
        p -= 1.0;
    return Lookup(p);
}

void TableLfo::Advance(std::size_t n)
{
    const double p = phase_ + static_cast<double>(n) * increment_;
    const double wrapped = p - std::floor(p);
    // A non-finite rate must not leave the phase poisoned for good.
    phase_ = std::isfinite(wrapped) ? wrapped : 0.0;
}

double TableLfo::Lookup(double p) const
{
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

} // namespace quorvel
