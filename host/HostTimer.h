#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "framework/Timer.h"
#include "host/HostProxy.h"

namespace plugkit {

// The platform primitive behind the instance's timers on Linux: timers of the host's
// timer-support extension, whose on_timer the instance forwards to OnHostTimer. A host
// without complete timer support, or refusing the timer, gets one helper thread that only
// asks for request_callback at the interval; the tick then runs on the main thread from
// on_main_thread (OnMainThreadCallback).
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
  // [main-thread] From on_main_thread: runs the fallback timer's tick if one is due.
  void OnMainThreadCallback();

 private:
  // Fallback identifiers live far above what hosts hand out, so the two never meet.
  static constexpr uint32_t kFallbackId = 0xFFFF0000u;

  void StopFallback();
  void FallbackLoop(uint32_t periodMs);

  const HostProxy& host_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool fallbackRegistered_ = false;
  std::atomic<bool> tickDue_{false};
};

}  // namespace plugkit
