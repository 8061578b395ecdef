#pragma once

namespace quorvel {

// Moves a value towards a target by a fixed step per tick: added (or subtracted), or
// multiplied by rate + 1 (or divided) when multiplicative.
class SlewLimiter {
 public:
  SlewLimiter(double rate, bool multiplicative);

  void Jump(double x);       // [audio-thread] value and target become x at once
  void Snap();               // [audio-thread] value becomes the target at once
  void SetTarget(double x);  // [audio-thread]
  bool Tick();               // [audio-thread] returns whether it was moving

  double Value() const { return value; }
  double Target() const { return target; }

 private:
  bool multiplicative;
  bool rising = false;
  bool falling = false;
  double value = 0.0;
  double target = 0.0;
  double rate;
  double step = 0.0;
};

// Inline: the chorus moves its delay target every sample.
inline void SlewLimiter::SetTarget(double x) {
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

inline bool SlewLimiter::Tick() {
  if (!rising && !falling)
    return false;
  const double next = multiplicative ? value * step : value + step;
  value = next;
  const bool arrived = rising ? !(next < target) : !(next > target);
  if (arrived) {
    value = target;
    rising = falling = false;
  }
  return true;
}

}  // namespace quorvel
