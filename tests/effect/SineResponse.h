#pragma once

#include <cmath>
#include <complex>
#include <numbers>

namespace quorvel::test {

// Steady-state complex response of a per-sample process to a sine: settles for `settle`
// seconds, then correlates one second of output with the input phase.
template <typename Process>
std::complex<double> MeasureResponse(Process&& process, double hz, double sampleRate,
                                     double amplitude = 0.25, double settle = 1.0) {
  const double w = 2.0 * std::numbers::pi * hz / sampleRate;
  const long settleSamples = std::lround(settle * sampleRate);
  // A whole number of cycles keeps the correlation free of leakage.
  const long cycles = std::max(1L, std::lround(hz));
  const long measureSamples = std::lround(cycles * sampleRate / hz);
  long n = 0;
  for (; n < settleSamples; ++n) process(amplitude * std::sin(w * n));
  std::complex<double> sum = 0.0;
  for (long i = 0; i < measureSamples; ++i, ++n) {
    const double y = process(amplitude * std::sin(w * n));
    sum += y * std::polar(1.0, -w * n);
  }
  // sin has the phasor −j/2; undo it and the amplitude.
  return sum * 2.0 / static_cast<double>(measureSamples) * std::complex<double>(0.0, 1.0) /
         amplitude;
}

}  // namespace quorvel::test
