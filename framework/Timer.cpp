#include "framework/Timer.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace plugkit {

namespace {

// Recursive because a timer function may stop or start timers (closing the editor stops its
// frame clock from inside a tick).
// Both live for the whole process: a timer may be stopped during static destruction.
std::recursive_mutex& TimerListLock() {
  static auto* lock = new std::recursive_mutex;
  return *lock;
}

std::vector<PlatformTimer*>& LiveTimers() {
  static auto* timers = new std::vector<PlatformTimer*>;
  return *timers;
}

}  // namespace

PlatformTimer::PlatformTimer(TimerHost& host, TimerFunction function, uint32_t intervalMs)
    : host_(host), function_(std::move(function)) {
  if (!host_.Register(intervalMs, id_)) return;
  running_ = true;
  std::lock_guard guard(TimerListLock());
  LiveTimers().push_back(this);
}

PlatformTimer::~PlatformTimer() { Stop(); }

void PlatformTimer::Stop() {
  if (!running_) return;
  running_ = false;
  host_.Unregister(id_);
  std::lock_guard guard(TimerListLock());
  auto& timers = LiveTimers();
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void PlatformTimer::OnPlatformTick(const TimerHost& host, uint32_t id) {
  std::lock_guard guard(TimerListLock());
  for (PlatformTimer* timer : LiveTimers()) {
    if (timer->id_ == id && &timer->host_ == &host) {
      // The function may stop or destroy this timer, so the list is not touched afterwards.
      timer->function_(*timer);
      return;
    }
  }
}

std::unique_ptr<Timer> StartTimer(TimerHost& host, TimerFunction function, uint32_t intervalMs) {
  return std::make_unique<PlatformTimer>(host, std::move(function), intervalMs);
}

}  // namespace plugkit
