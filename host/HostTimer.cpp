#include "host/HostTimer.h"

#include <chrono>

namespace plugkit {

HostTimer::~HostTimer() { StopFallback(); }

bool HostTimer::Register(uint32_t periodMs, uint32_t& id) {
  if (const clap_host_timer_support* timers = mHost.TimerSupport()) {
    clap_id hostId = CLAP_INVALID_ID;
    // A host that refuses the timer gets the fallback, so the tick still runs.
    if (timers->register_timer(mHost.Clap(), periodMs, &hostId) && hostId != kFallbackId) {
      id = hostId;
      return true;
    }
  }
  // One fallback timer per instance is all the instance needs (the 20 ms tick).
  if (mFallbackRegistered) return false;
  {
    std::lock_guard lock(mMutex);
    mStopping = false;
  }
  try {
    mThread = std::thread(&HostTimer::FallbackLoop, this, periodMs == 0 ? 1u : periodMs);
  } catch (...) {
    return false;
  }
  mFallbackRegistered = true;
  id = kFallbackId;
  return true;
}

void HostTimer::Unregister(uint32_t id) {
  if (id == kFallbackId) {
    StopFallback();
    return;
  }
  if (const clap_host_timer_support* timers = mHost.TimerSupport()) {
    timers->unregister_timer(mHost.Clap(), id);
  }
}

void HostTimer::OnHostTimer(uint32_t id) const { PlatformTimer::OnPlatformTick(*this, id); }

void HostTimer::OnMainThreadCallback() {
  if (mFallbackRegistered && mTickDue.exchange(false)) {
    PlatformTimer::OnPlatformTick(*this, kFallbackId);
  }
}

void HostTimer::StopFallback() {
  {
    std::lock_guard lock(mMutex);
    mStopping = true;
  }
  mWake.notify_all();
  if (mThread.joinable()) mThread.join();
  mFallbackRegistered = false;
  mTickDue = false;
}

void HostTimer::FallbackLoop(uint32_t periodMs) {
  const auto period = std::chrono::milliseconds(periodMs);
  std::unique_lock lock(mMutex);
  while (!mWake.wait_for(lock, period, [this] { return mStopping; })) {
    // A tick the main thread has not run yet is not asked for again. The host call runs
    // unlocked so a host that waits for its main thread cannot stall StopFallback.
    if (mTickDue.exchange(true)) continue;
    lock.unlock();
    mHost.RequestCallback();
    lock.lock();
  }
}

}  // namespace plugkit
