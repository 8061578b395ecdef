// Renders every factory preset, the defaults and the heavy benchmark case at 44.1 and 48 kHz,
// in blocks of 32, 64 and 512 frames, with and without a side-chain, and writes the outputs
// (raw 64-bit samples, case after case) to a file, or compares them with such a file of
// another build and prints the largest difference per case.
//
//   quorvel_renders --write FILE
//   quorvel_renders --compare FILE [--tolerance X]   exit status 1 beyond X (default 1e-9)

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/effect/EngineCases.h"

namespace {

using engineCases::Values;

constexpr double kSeconds = 1.0;

struct Case {
  std::string name;
  Values values;
  double rate;
  int block;
  bool sidechain;
};

std::vector<Case> Cases() {
  std::vector<std::pair<std::string, Values>> sets;
  sets.emplace_back("defaults", engineCases::Defaults());
  sets.emplace_back("heavy", engineCases::Heavy());
  for (int index = 1; index < quorvel::kFactoryPresetCount; ++index)
    sets.emplace_back(engineCases::PresetName(index), engineCases::PresetValues(index));
  std::vector<Case> cases;
  for (const auto& [name, values] : sets) {
    for (const double rate : {44100.0, 48000.0}) {
      for (const int block : {32, 64, 512}) {
        for (const bool sidechain : {false, true}) {
          Values v = values;
          if (sidechain) engineCases::Set(v, quorvel::ParamIndex::SidechainDetector, 1.0);
          const std::string label = name + " @" + std::to_string(static_cast<int>(rate)) + "/" +
                                    std::to_string(block) + (sidechain ? " sc" : "");
          cases.push_back({label, v, rate, block, sidechain});
        }
      }
    }
  }
  return cases;
}

int Usage() {
  std::fprintf(stderr, "usage: quorvel_renders --write FILE | --compare FILE [--tolerance X]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const bool write = std::strcmp(argv[1], "--write") == 0;
  if (!write && std::strcmp(argv[1], "--compare") != 0) return Usage();
  const double tolerance =
      argc >= 5 && std::strcmp(argv[3], "--tolerance") == 0 ? std::strtod(argv[4], nullptr) : 1e-9;
  const std::vector<Case> cases = Cases();
  if (write) {
    std::ofstream out(argv[2], std::ios::binary);
    for (const Case& c : cases) {
      const std::vector<double> r =
          engineCases::Render(c.values, c.rate, c.block, c.sidechain, kSeconds);
      out.write(reinterpret_cast<const char*>(r.data()),
                static_cast<std::streamsize>(r.size() * sizeof(double)));
    }
    if (!out) {
      std::fprintf(stderr, "could not write %s\n", argv[2]);
      return 2;
    }
    return 0;
  }
  std::ifstream ref(argv[2], std::ios::binary);
  if (!ref) {
    std::fprintf(stderr, "could not read %s\n", argv[2]);
    return 2;
  }
  double worst = 0.0;
  int identical = 0;
  for (const Case& c : cases) {
    const std::vector<double> r =
        engineCases::Render(c.values, c.rate, c.block, c.sidechain, kSeconds);
    std::vector<double> expected(r.size());
    ref.read(reinterpret_cast<char*>(expected.data()),
             static_cast<std::streamsize>(expected.size() * sizeof(double)));
    if (!ref) {
      std::fprintf(stderr, "%s: the reference file ends early\n", argv[2]);
      return 2;
    }
    double largest = 0.0;
    bool same = true;
    for (std::size_t i = 0; i < r.size(); ++i) {
      same = same && std::memcmp(&r[i], &expected[i], sizeof(double)) == 0;
      const double d = std::abs(r[i] - expected[i]);
      // NaN on either side counts as the largest difference.
      largest = std::isnan(d) ? INFINITY : std::max(largest, d);
    }
    identical += same ? 1 : 0;
    worst = std::max(worst, largest);
    std::printf("%-52s %s %.3g\n", c.name.c_str(), same ? "identical" : "differs  ", largest);
  }
  std::printf("%d of %zu cases bit-identical; largest difference %.3g\n", identical, cases.size(),
              worst);
  return worst <= tolerance ? 0 : 1;
}
