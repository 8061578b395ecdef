#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "effect/FastMath.h"

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
  EXPECT_LE(WorstUlp(2 * 3 * 2000,
                     [&] {
                       const double x =
                           (static_cast<double>(k) + 0.5) * 0.6931471805599453 + near[step % 3];
                       if (++step % 3 == 0 && ++k > 1023) k = -1070;
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

// Distance in representable doubles, counting across zero.
std::int64_t SignedUlpDistance(double a, double b) {
  const auto key = [](double x) {
    const auto i = std::bit_cast<std::int64_t>(x);
    return i < 0 ? std::numeric_limits<std::int64_t>::min() - i : i;
  };
  const std::int64_t ka = key(a), kb = key(b);
  return ka > kb ? ka - kb : kb - ka;
}

TEST(FastMathTest, SinCosStayWithinOneUlpOfTheLibrary) {
  std::mt19937_64 random(3);
  // The corners the filters use, then a wide range, then around the quadrant edges.
  for (const auto& [low, high] : {std::pair{0.0, 3.141592653589793}, std::pair{-1e5, 1e5},
                                  std::pair{1.5707, 1.5709}, std::pair{3.1415, 3.1417}}) {
    std::uniform_real_distribution<double> d(low, high);
    std::int64_t worstSin = 0, worstCos = 0;
    for (int i = 0; i < 300000; ++i) {
      const double a = d(random), b = d(random);
      StereoPair s, c;
      SinCosLanes(Pack(a, b), s, c);
      worstSin = std::max(
          {worstSin, SignedUlpDistance(s[0], std::sin(a)), SignedUlpDistance(s[1], std::sin(b))});
      worstCos = std::max(
          {worstCos, SignedUlpDistance(c[0], std::cos(a)), SignedUlpDistance(c[1], std::cos(b))});
    }
    EXPECT_LE(worstSin, 1) << low << " … " << high;
    EXPECT_LE(worstCos, 1) << low << " … " << high;
  }
  constexpr double inf = std::numeric_limits<double>::infinity();
  const double pi = 3.141592653589793;
  for (const double x : {0.0, -0.0, 5e-324, pi / 2, pi, std::nextafter(pi / 2, 0.0)}) {
    StereoPair s, c;
    SinCosLanes(Pack(x, -x), s, c);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(s[0]), std::bit_cast<std::uint64_t>(std::sin(x))) << x;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c[0]), std::bit_cast<std::uint64_t>(std::cos(x))) << x;
    EXPECT_EQ(s[1], -s[0]) << x;
    EXPECT_EQ(c[1], c[0]) << x;
  }
  StereoPair s, c;
  SinCosLanes(Pack(inf, std::nan("")), s, c);
  EXPECT_TRUE(std::isnan(s[0]) && std::isnan(s[1]) && std::isnan(c[0]) && std::isnan(c[1]));
}

// The same arguments as quads, compiled for the baseline and, where the processor has it,
// for AVX2: the engine picks either at load time, and both must give the pair's bits.
void QuadsBaseline(const double* x, double* y, int n) {
  for (int i = 0; i < n; i += 4) {
    const StereoQuad q = ExpLanes(StereoQuad{x[i], x[i + 1], x[i + 2], x[i + 3]});
    for (int k = 0; k < 4; ++k) y[i + k] = q[k];
  }
}
// Clang refuses quads across the boundary of a function built for AVX2, and its builds of the
// engine take the baseline alone (effect/HotLoop.h).
#if !defined(__clang__)
#define QUORVEL_TEST_AVX2 1
[[gnu::target("avx2")]] void QuadsAvx2(const double* x, double* y, int n) {
  for (int i = 0; i < n; i += 4) {
    const StereoQuad q = ExpLanes(StereoQuad{x[i], x[i + 1], x[i + 2], x[i + 3]});
    for (int k = 0; k < 4; ++k) y[i + k] = q[k];
  }
}
#endif

TEST(FastMathTest, QuadsGiveThePairsBits) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> wide(-746.0, 710.0), narrow(-4.0, 4.0);
  std::vector<double> x;
  for (int i = 0; i < 40000; ++i) x.push_back(i % 2 ? wide(random) : narrow(random));
  constexpr double inf = std::numeric_limits<double>::infinity();
  for (double special : {0.0, -0.0, inf, -inf, std::nan(""), 1e300, -1e300, 709.79, -745.14})
    x.push_back(special);
  while (x.size() % 4 != 0) x.push_back(1.0);
  const int n = static_cast<int>(x.size());
  std::vector<double> pairs(x.size()), baseline(x.size()), avx2(x.size());
  for (int i = 0; i < n; i += 2) {
    const StereoPair y = ExpPair(Pack(x[i], x[i + 1]));
    pairs[i] = y[0];
    pairs[i + 1] = y[1];
  }
  QuadsBaseline(x.data(), baseline.data(), n);
#ifdef QUORVEL_TEST_AVX2
  const bool hasAvx2 = __builtin_cpu_supports("avx2");
  if (hasAvx2) QuadsAvx2(x.data(), avx2.data(), n);
#else
  const bool hasAvx2 = false;
#endif
  for (int i = 0; i < n; ++i) {
    const auto bits = std::bit_cast<std::uint64_t>(pairs[i]);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(baseline[i]), bits) << "x = " << x[i];
    if (hasAvx2) {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(avx2[i]), bits) << "x = " << x[i];
    }
  }
}

}  // namespace
}  // namespace quorvel
