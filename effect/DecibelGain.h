#pragma once

#include <cmath>

namespace quorvel {

// 10^(dB / 20), worked out again only when the level changes: the settings are refreshed
// every block, and the general power is dear. [audio-thread]
class DecibelGain {
 public:
  double operator()(double db) {
    if (!(db == db_)) {
      db_ = db;
      gain_ = std::pow(10.0, db / 20.0);
    }
    return gain_;
  }

 private:
  double db_ = std::nan("");
  double gain_ = 0.0;
};

}  // namespace quorvel
