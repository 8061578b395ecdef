#include "effect/SlewLimiter.h"

namespace quorvel {

SlewLimiter::SlewLimiter(double stepRate, bool isMultiplicative)
    : multiplicative_(isMultiplicative), rate_(stepRate) {}

void SlewLimiter::Jump(double x) {
  value_ = target_ = x;
  rising_ = falling_ = false;
}

void SlewLimiter::Snap() {
  value_ = target_;
  rising_ = falling_ = false;
}

}  // namespace quorvel
