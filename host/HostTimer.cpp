#include "host/HostTimer.h"

#include <chrono>

namespace plugkit {

HostTimer::~HostTimer() { StopFallback(); }

bool HostTimer::Register(uint32_t periodMs, uint32_t& id) {
  if (const clap_host_timer_support* timers = host_.TimerSupport()) {
    clap_id hostId = CLAP_INVALID_ID;
    // A host that refuses the timer gets the fallback, so the tick still runs.
    if (timers->register_timer(host_.Clap(), periodMs, &hostId) && hostId != kFallbackId) {
      id = hostId;
      return true;
    }
  }
  // One fallback timer per instance is all the instance needs (the 20 ms tick).
  if (fallbackRegistered_) return false;
  {
    std::lock_guard lock(mutex_);
    stopping_ = false;
  }
  try {
    thread_ = std::thread(&HostTimer::FallbackLoop, this, periodMs == 0 ? 1u : periodMs);
  } catch (...) {
    return false;
  }
  fallbackRegistered_ = true;
  id = kFallbackId;
  return true;
}

void HostTimer::Unregister(uint32_t id) {
  if (id == kFallbackId) {
    StopFallback();
    return;
  }
  if (const clap_host_timer_support* timers = host_.TimerSupport()) {
    timers->unregister_timer(host_.Clap(), id);
  }
}

void HostTimer::OnHostTimer(uint32_t id) const { PlatformTimer::OnPlatformTick(*this, id); }

void HostTimer::OnMainThreadCallback() {
  if (fallbackRegistered_ && tickDue_.exchange(false)) {
    PlatformTimer::OnPlatformTick(*this, kFallbackId);
  }
}

void HostTimer::StopFallback() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  fallbackRegistered_ = false;
  tickDue_ = false;
}

void HostTimer::FallbackLoop(uint32_t periodMs) {
  const auto period = std::chrono::milliseconds(periodMs);
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, period, [this] { return stopping_; })) {
    // A tick the main thread has not run yet is not asked for again. The host call runs
    // unlocked so a host that waits for its main thread cannot stall StopFallback.
    if (tickDue_.exchange(true)) continue;
    lock.unlock();
    host_.RequestCallback();
    lock.lock();
  }
}

}  // namespace plugkit
