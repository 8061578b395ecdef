#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/Timer.h"
#include "host/HostProxy.h"

namespace plugkit {

// The platform primitive behind the instance's timers on Linux: timers of the host's
// timer-support extension, whose on_timer the instance forwards to OnHostTimer. A host
// without complete timer support, or refusing a timer, gets one helper thread that only asks
// for request_callback at the shortest interval asked for; the due timers (the instance's and
// an open editor's frame clock) then tick on the main thread from on_main_thread
// (OnMainThreadCallback).
class HostTimer final : public TimerHost {
 public:
  explicit HostTimer(const HostProxy& host) : host_(host) {}
  ~HostTimer() override;
  HostTimer(const HostTimer&) = delete;
  HostTimer& operator=(const HostTimer&) = delete;

  // [main-thread]
  bool Register(uint32_t periodMs, uint32_t& id) override;
  // [main-thread] Joins the helper thread of a fallback timer.
  void Unregister(uint32_t id) override;

  // [main-thread] The host's on_timer.
  void OnHostTimer(uint32_t id) const;
  // [main-thread] From on_main_thread: runs the fallback timers that are due.
  void OnMainThreadCallback();

 private:
  // Fallback identifiers live far above what hosts hand out, so the two never meet.
  static constexpr uint32_t kFallbackId = 0xFFFF0000u;

  struct Fallback {
    uint32_t id;
    std::chrono::milliseconds period;
    std::chrono::steady_clock::time_point nextDue;
  };

  bool RegisterFallback(uint32_t periodMs, uint32_t& id);
  void StopFallback();
  void FallbackLoop();

  const HostProxy& host_;
  std::vector<Fallback> fallbacks_;  // main thread only
  uint32_t nextFallbackId_ = kFallbackId;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::chrono::milliseconds threadPeriod_{1};  // guarded by mutex_
  std::atomic<bool> tickDue_{false};
};

}  // namespace plugkit
