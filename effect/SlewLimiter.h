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

  double Value() const { return value_; }
  double Target() const { return target_; }

 private:
  bool multiplicative_;
  bool rising_ = false;
  bool falling_ = false;
  double value_ = 0.0;
  double target_ = 0.0;
  double rate_;
  double step_ = 0.0;
};

// Inline: the chorus moves its delay target every sample.
inline void SlewLimiter::SetTarget(double x) {
  target_ = x;
  if (x > value_) {
    rising_ = true;
    falling_ = false;
    step_ = multiplicative_ ? rate_ + 1.0 : rate_;
    return;
  }
  rising_ = false;
  if (value_ > x) {
    falling_ = true;
    step_ = multiplicative_ ? 1.0 / (rate_ + 1.0) : -rate_;
  } else {
    falling_ = false;
  }
}

inline bool SlewLimiter::Tick() {
  if (!rising_ && !falling_) return false;
  const double next = multiplicative_ ? value_ * step_ : value_ + step_;
  value_ = next;
  const bool arrived = rising_ ? !(next < target_) : !(next > target_);
  if (arrived) {
    value_ = target_;
    rising_ = falling_ = false;
  }
  return true;
}

}  // namespace quorvel
