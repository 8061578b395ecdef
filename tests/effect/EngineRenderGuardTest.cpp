// The engine's sound pinned to the bit: renders of a few presets and the heavy benchmark case
// against stored hashes. A changed hash means changed output; quorvel_renders (tests/bench)
// then shows by how much.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "tests/effect/EngineCases.h"

namespace {

// FNV-1a over the samples' bits.
std::uint64_t Hash(const std::vector<double>& samples) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (const double x : samples) {
    auto bits = std::bit_cast<std::uint64_t>(x);
    for (int k = 0; k < 8; ++k, bits >>= 8) h = (h ^ (bits & 0xff)) * 0x100000001b3ULL;
  }
  return h;
}

struct Pinned {
  int preset;  // -1: the heavy case; 0: the defaults
  double rate;
  int block;
  bool sidechain;
  std::uint64_t hash;
};

const Pinned kPinned[] = {
    {0, 48000.0, 64, false, 0x7f2aa844c88c47d7ULL},
    {-1, 44100.0, 32, true, 0x764e1214e221bbd1ULL},
    {-1, 48000.0, 512, false, 0x8fb47dcb699e0e48ULL},
    {7, 48000.0, 64, true, 0xb52b760968eb4ad3ULL},
    {13, 44100.0, 512, false, 0xd1087724bcde610eULL},
    {26, 48000.0, 32, false, 0x39f66b8208253e15ULL},
};

TEST(EngineRenderGuardTest, OutputsKeepTheirBits) {
  for (const Pinned& p : kPinned) {
    SCOPED_TRACE(p.preset < 0 ? "heavy" : engineCases::PresetName(p.preset));
    engineCases::Values values =
        p.preset < 0 ? engineCases::Heavy() : engineCases::PresetValues(p.preset);
    if (p.sidechain) engineCases::Set(values, quorvel::ParamIndex::SidechainDetector, 1.0);
    const std::uint64_t hash = Hash(engineCases::Render(values, p.rate, p.block, p.sidechain, 0.6));
    EXPECT_EQ(hash, p.hash) << std::hex << "0x" << hash;
  }
}

}  // namespace
