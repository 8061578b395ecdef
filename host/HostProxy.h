#pragma once

#include <cstdint>

#include "host/clap/Host.h"
#include "host/clap/ext/Gui.h"
#include "host/clap/ext/Latency.h"
#include "host/clap/ext/Log.h"
#include "host/clap/ext/Params.h"
#include "host/clap/ext/PresetLoad.h"
#include "host/clap/ext/Tail.h"
#include "host/clap/ext/ThreadCheck.h"
#include "host/clap/ext/TimerSupport.h"
#include "host/clap/ext/TrackInfo.h"

namespace plugkit {

// The threads a host-facing function may be called on.
enum class ThreadRule { Main, Audio, MainOrAudio };

// The host as the instance sees it: the clap_host and the extension tables found at init.
// Every use checks that the table is complete; a returned but incomplete table is reported
// through the log as host misbehaviour each time and then treated as absent.
class HostProxy {
 public:
  explicit HostProxy(const clap_host* host) : host_(host) {}

  // [main-thread] Looks every extension up; the draft identifiers are the fallback.
  void QueryExtensions();

  const clap_host* Clap() const { return host_; }

  // [thread-safe] Through the host log, else severity error and host-misbehaving to the
  // standard error stream and everything else to standard output.
  void Log(int32_t severity, const char* message) const;

  // [thread-safe] False as well when the host cannot tell.
  bool IsMainThread() const;
#ifdef PLUGKIT_THREAD_CHECKS
  // [thread-safe] False, after one log line naming the function and the thread it needs, when
  // the host says the caller is on a thread the rule forbids; true when the host cannot tell.
  bool FollowsThreadRule(ThreadRule rule, const char* function) const;
#endif

  // [thread-safe]
  void RequestCallback() const;
  void RequestRestart() const;

  // [main-thread] Each returns whether the host offered a complete extension for the call.
  bool LatencyChanged() const;
  bool HasCompleteTail() const;
  // [audio-thread]
  bool TailChanged() const;
  bool HasParams() const { return params_ != nullptr; }
  bool HasCompleteParams() const;
  bool ParamsRescan(uint32_t flags) const;
  // [thread-safe, !audio-thread]
  bool ParamsRequestFlush() const;
  bool TrackChannelCount(int32_t& channels) const;
  bool PresetLoaded(uint32_t kind, const char* location, const char* key) const;
  bool PresetLoadError(uint32_t kind, const char* location, const char* key, int32_t osError,
                       const char* message) const;

  // [main-thread] The gui table as the host returned it (the editor checks its functions).
  const clap_host_gui* Gui() const { return gui_; }

  // [main-thread] The timer-support table when both functions are there, else null (never
  // logged: hosts without it get the fallback timer).
  const clap_host_timer_support* TimerSupport() const;

 private:
  const void* Extension(const char* id) const;
  // True when complete; reports the incomplete table under its name otherwise.
  bool Check(const void* table, bool complete, const char* name) const;

  const clap_host* host_;
  const clap_host_log* log_ = nullptr;
  const clap_host_thread_check* threadCheck_ = nullptr;
  const clap_host_latency* latency_ = nullptr;
  const clap_host_tail* tail_ = nullptr;
  const clap_host_gui* gui_ = nullptr;
  const clap_host_params* params_ = nullptr;
  const clap_host_track_info* trackInfo_ = nullptr;
  const clap_host_preset_load* presetLoad_ = nullptr;
  const clap_host_timer_support* timerSupport_ = nullptr;
};

}  // namespace plugkit
