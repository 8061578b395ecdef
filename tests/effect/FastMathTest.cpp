#include "effect/FastMath.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace quorvel {
namespace {

// Distance in representable doubles; both values finite and of the same sign here.
std::int64_t UlpDistance(double a, double b) {
  const auto ia = std::bit_cast<std::int64_t>(a);
  const auto ib = std::bit_cast<std::int64_t>(b);
  return ia > ib ? ia - ib : ib - ia;
}

// The largest distance from std::exp over the arguments of one generator, both lanes used.
template <class Next>
std::int64_t WorstUlp(int count, Next next) {
  std::int64_t worst = 0;
  for (int i = 0; i < count; ++i) {
    const double a = next();
    const double b = next();
    const StereoPair y = ExpPair(Pack(a, b));
    worst = std::max({worst, UlpDistance(y[0], std::exp(a)), UlpDistance(y[1], std::exp(b))});
  }
  return worst;
}

TEST(FastMathTest, ExpStaysWithinOneUlpOfTheLibrary) {
  std::mt19937_64 random(7);
  const auto uniform = [&](double low, double high) {
    std::uniform_real_distribution<double> d(low, high);
    return [&random, d]() mutable { return d(random); };
  };
  // Where the engine lives (stage corners, sweep factors), then the whole finite range
  // including subnormal results and the edge of overflow.
  EXPECT_LE(WorstUlp(1500000, uniform(-4.0, 4.0)), 1);
  EXPECT_LE(WorstUlp(1000000, uniform(-745.0, 709.7)), 1);
  EXPECT_LE(WorstUlp(200000, uniform(-1e-9, 1e-9)), 1);
  EXPECT_LE(WorstUlp(200000, uniform(-745.1, -700.0)), 1);
  EXPECT_LE(WorstUlp(200000, uniform(700.0, 709.78)), 1);
  // Arguments near the points where the reduction switches to the next power of two.
  std::int64_t k = -1070;
  std::int64_t step = 0;
  const double near[] = {-1e-12, 0.0, 1e-12};
  EXPECT_LE(WorstUlp(2 * 3 * 2000, [&] {
              const double x = (static_cast<double>(k) + 0.5) * 0.6931471805599453 + near[step % 3];
              if (++step % 3 == 0 && ++k > 1023)
                k = -1070;
              return x;
            }),
            1);
}

TEST(FastMathTest, ExpHandlesSpecialValues) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  StereoPair y = ExpPair(Pack(0.0, -0.0));
  EXPECT_EQ(y[0], 1.0);
  EXPECT_EQ(y[1], 1.0);
  y = ExpPair(Pack(inf, -inf));
  EXPECT_EQ(y[0], inf);
  EXPECT_EQ(y[1], 0.0);
  y = ExpPair(Pack(nan, 1.0));
  EXPECT_TRUE(std::isnan(y[0]));
  EXPECT_LE(UlpDistance(y[1], std::exp(1.0)), 1);  // a NaN in one lane leaves the other alone
  y = ExpPair(Pack(1e300, -1e300));
  EXPECT_EQ(y[0], inf);
  EXPECT_EQ(y[1], 0.0);
  y = ExpPair(Pack(709.78, 709.79));
  EXPECT_EQ(y[0], std::exp(709.78));
  EXPECT_EQ(y[1], inf);
  y = ExpPair(Pack(-745.13, -745.14));
  EXPECT_EQ(y[0], std::exp(-745.13));  // the smallest subnormal
  EXPECT_EQ(y[1], 0.0);
  y = ExpPair(Pack(std::log(2.0), 10 * std::log(2.0)));
  EXPECT_EQ(y[0], 2.0);
  EXPECT_EQ(y[1], 1024.0);
}

}  // namespace
}  // namespace quorvel
