#include "effect/SlewLimiter.h"

namespace quorvel {

SlewLimiter::SlewLimiter(double stepRate, bool isMultiplicative)
    : multiplicative(isMultiplicative), rate(stepRate) {}

void SlewLimiter::Jump(double x) {
  value = target = x;
  rising = falling = false;
}

void SlewLimiter::Snap() {
  value = target;
  rising = falling = false;
}

}  // namespace quorvel
