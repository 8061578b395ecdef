#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace plugkit {

// A periodic main-thread timer. Stopping twice is harmless; destruction stops it.
class Timer {
 public:
  virtual ~Timer() = default;
  // [main-thread]
  virtual void Stop() = 0;
};

// The platform primitive behind PlatformTimer. On Linux the host binding implements it with
// the host's timer-support extension and forwards the host's on_timer to
// PlatformTimer::OnPlatformTick.
class TimerHost {
 public:
  virtual ~TimerHost() = default;
  // [main-thread] Creates a periodic timer; false when the platform refuses.
  virtual bool Register(uint32_t periodMs, uint32_t& id) = 0;
  // [main-thread]
  virtual void Unregister(uint32_t id) = 0;
};

using TimerFunction = std::function<void(Timer&)>;

// Timer registered in a process-wide list of live timers; ticks are dispatched by the
// (host, identifier) pair under a process-wide lock, so the timers of all instances in the
// process run one after another. Hosts number timers per instance, hence the host in the key.
// A timer function may stop its own timer but must not destroy it: the function is running.
class PlatformTimer final : public Timer {
 public:
  PlatformTimer(TimerHost& host, TimerFunction function, uint32_t intervalMs);
  ~PlatformTimer() override;
  PlatformTimer(const PlatformTimer&) = delete;
  PlatformTimer& operator=(const PlatformTimer&) = delete;

  // [main-thread]
  void Stop() override;
  bool IsRunning() const { return running_; }

  // [main-thread] Called by the platform for each tick; unknown identifiers are ignored.
  static void OnPlatformTick(const TimerHost& host, uint32_t id);

 private:
  TimerHost& host_;
  TimerFunction function_;
  uint32_t id_ = 0;
  bool running_ = false;
};

// [main-thread] Starts a periodic timer calling function every intervalMs. When the
// platform refuses, the timer exists but never ticks.
std::unique_ptr<Timer> StartTimer(TimerHost& host, TimerFunction function, uint32_t intervalMs);

}  // namespace plugkit
