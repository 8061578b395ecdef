#include "host/HostTimer.h"

#include <algorithm>
#include <chrono>

namespace plugkit {

HostTimer::~HostTimer() { StopFallback(); }

bool HostTimer::Register(uint32_t periodMs, uint32_t& id) {
  if (const clap_host_timer_support* timers = host_.TimerSupport()) {
    clap_id hostId = CLAP_INVALID_ID;
    // A host that refuses the timer gets the fallback, so the tick still runs.
    if (timers->register_timer(host_.Clap(), periodMs, &hostId) && hostId < kFallbackId) {
      id = hostId;
      return true;
    }
  }
  return RegisterFallback(periodMs, id);
}

bool HostTimer::RegisterFallback(uint32_t periodMs, uint32_t& id) {
  const std::chrono::milliseconds period(periodMs == 0 ? 1u : periodMs);
  if (fallbacks_.empty()) {
    {
      std::lock_guard lock(mutex_);
      stopping_ = false;
      threadPeriod_ = period;
    }
    try {
      thread_ = std::thread(&HostTimer::FallbackLoop, this);
    } catch (...) {
      return false;
    }
  } else {
    std::lock_guard lock(mutex_);
    threadPeriod_ = std::min(threadPeriod_, period);
  }
  id = nextFallbackId_++;
  fallbacks_.push_back({id, period, std::chrono::steady_clock::now() + period});
  return true;
}

void HostTimer::Unregister(uint32_t id) {
  if (id >= kFallbackId) {
    std::erase_if(fallbacks_, [id](const Fallback& f) { return f.id == id; });
    if (fallbacks_.empty()) {
      StopFallback();
      return;
    }
    std::lock_guard lock(mutex_);
    threadPeriod_ = fallbacks_.front().period;
    for (const Fallback& f : fallbacks_) threadPeriod_ = std::min(threadPeriod_, f.period);
    return;
  }
  if (const clap_host_timer_support* timers = host_.TimerSupport()) {
    timers->unregister_timer(host_.Clap(), id);
  }
}

void HostTimer::OnHostTimer(uint32_t id) const { PlatformTimer::OnPlatformTick(*this, id); }

void HostTimer::OnMainThreadCallback() {
  if (fallbacks_.empty() || !tickDue_.exchange(false)) return;
  const auto now = std::chrono::steady_clock::now();
  std::vector<uint32_t> due;
  for (Fallback& f : fallbacks_) {
    if (now < f.nextDue) continue;
    f.nextDue = now + f.period;
    due.push_back(f.id);
  }
  // A tick may stop its own timer or another: unknown identifiers are ignored.
  for (uint32_t id : due) PlatformTimer::OnPlatformTick(*this, id);
}

void HostTimer::StopFallback() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  fallbacks_.clear();
  tickDue_ = false;
}

void HostTimer::FallbackLoop() {
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, threadPeriod_, [this] { return stopping_; })) {
    // A tick the main thread has not run yet is not asked for again. The host call runs
    // unlocked so a host that waits for its main thread cannot stall StopFallback.
    if (tickDue_.exchange(true)) continue;
    lock.unlock();
    host_.RequestCallback();
    lock.lock();
  }
}

}  // namespace plugkit
