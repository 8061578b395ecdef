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

void SlewLimiter::SetTarget(double x) {
  target = x;
  if (x > value) {
    rising = true;
    falling = false;
    step = multiplicative ? rate + 1.0 : rate;
    return;
  }
  rising = false;
  if (value > x) {
    falling = true;
    step = multiplicative ? 1.0 / (rate + 1.0) : -rate;
  } else {
    falling = false;
  }
}

}  // namespace quorvel
