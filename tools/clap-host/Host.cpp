#include "tools/clap-host/Host.h"

#include <algorithm>
#include <cstring>

#include "host/clap/ext/Gui.h"
#include "host/clap/ext/Latency.h"
#include "host/clap/ext/Log.h"
#include "host/clap/ext/Params.h"
#include "host/clap/ext/PresetLoad.h"
#include "host/clap/ext/Tail.h"
#include "host/clap/ext/ThreadCheck.h"
#include "host/clap/ext/TimerSupport.h"
#include "host/clap/ext/TrackInfo.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace clapHost {
namespace {

std::optional<std::string> OptionalText(const char* text) {
  return text ? std::optional<std::string>(text) : std::nullopt;
}

template <class Table>
const void* Offered(Offer offer, const Table& complete, const Table& incomplete) {
  switch (offer) {
    case Offer::Complete:
      return &complete;
    case Offer::Incomplete:
      return &incomplete;
    case Offer::Absent:
      break;
  }
  return nullptr;
}

}  // namespace

Host::Host(HostConfig config)
    : config_(std::move(config)), mainThread_(std::this_thread::get_id()) {
  clapHost_.clap_version = config_.version;
  clapHost_.host_data = this;
  clapHost_.name = config_.name.c_str();
  clapHost_.vendor = "Quorvel";
  clapHost_.url = "";
  clapHost_.version = "1.0.0";
  clapHost_.get_extension = config_.hasGetExtension ? GetExtension : nullptr;
  clapHost_.request_restart = RequestRestart;
  clapHost_.request_process = RequestProcess;
  clapHost_.request_callback = RequestCallback;
}

Host& Host::From(const clap_host* host) { return *static_cast<Host*>(host->host_data); }

Host::AudioThreadScope::AudioThreadScope(Host& host)
    : host_(host), previous_(host.audioThread_.exchange(std::this_thread::get_id())) {}

Host::AudioThreadScope::~AudioThreadScope() { host_.audioThread_ = previous_; }

bool Host::IsMainThread() const {
  const auto self = std::this_thread::get_id();
  return self == mainThread_ && self != audioThread_.load();
}

bool Host::IsAudioThread() const { return std::this_thread::get_id() == audioThread_.load(); }

void Host::ExpectMainThread(const char* function) {
  if (IsMainThread()) return;
  std::lock_guard lock(mutex_);
  violations_.push_back(std::string(function) + " called off the main thread");
}

const void* Host::Extension(const char* id) {
  static const clap_host_log logComplete{LogMessage};
  static const clap_host_log logIncomplete{nullptr};
  static const clap_host_thread_check threadComplete{IsMainThreadCallback, IsAudioThreadCallback};
  static const clap_host_thread_check threadIncomplete{IsMainThreadCallback, nullptr};
  static const clap_host_params paramsComplete{ParamsRescan, ParamsClear, ParamsRequestFlush};
  static const clap_host_params paramsIncomplete{ParamsRescan, ParamsClear, nullptr};
  static const clap_host_latency latencyComplete{LatencyChanged};
  static const clap_host_latency latencyIncomplete{nullptr};
  static const clap_host_tail tailComplete{TailChanged};
  static const clap_host_tail tailIncomplete{nullptr};
  static const clap_host_gui guiComplete{GuiResizeHintsChanged, GuiRequestResize,
                                         GuiRequestShowOrHide, GuiRequestShowOrHide, GuiClosed};
  static const clap_host_gui guiIncomplete{GuiResizeHintsChanged, nullptr, GuiRequestShowOrHide,
                                           GuiRequestShowOrHide, GuiClosed};
  static const clap_host_track_info trackComplete{TrackInfoGet};
  static const clap_host_track_info trackIncomplete{nullptr};
  static const clap_host_preset_load presetComplete{PresetLoadOnError, PresetLoaded};
  static const clap_host_preset_load presetIncomplete{PresetLoadOnError, nullptr};
  static const clap_host_timer_support timerComplete{RegisterTimer, UnregisterTimer};
  static const clap_host_timer_support timerIncomplete{RegisterTimer, nullptr};

  const auto is = [id](const char* name) { return std::strcmp(id, name) == 0; };
  if (is(CLAP_EXT_LOG)) return Offered(config_.log, logComplete, logIncomplete);
  if (is(CLAP_EXT_THREAD_CHECK)) {
    return Offered(config_.threadCheck, threadComplete, threadIncomplete);
  }
  if (is(CLAP_EXT_PARAMS)) return Offered(config_.params, paramsComplete, paramsIncomplete);
  if (is(CLAP_EXT_LATENCY)) return Offered(config_.latency, latencyComplete, latencyIncomplete);
  if (is(CLAP_EXT_TAIL)) return Offered(config_.tail, tailComplete, tailIncomplete);
  if (is(CLAP_EXT_GUI)) return Offered(config_.gui, guiComplete, guiIncomplete);
  if (is(CLAP_EXT_TIMER_SUPPORT)) {
    return Offered(config_.timerSupport, timerComplete, timerIncomplete);
  }
  if ((is(CLAP_EXT_TRACK_INFO) && !config_.trackInfoDraftOnly) || is(CLAP_EXT_TRACK_INFO_COMPAT)) {
    return Offered(config_.trackInfo, trackComplete, trackIncomplete);
  }
  if ((is(CLAP_EXT_PRESET_LOAD) && !config_.presetLoadDraftOnly) ||
      is(CLAP_EXT_PRESET_LOAD_COMPAT)) {
    return Offered(config_.presetLoad, presetComplete, presetIncomplete);
  }
  return nullptr;
}

// [thread-safe]
const void* Host::GetExtension(const clap_host* host, const char* id) {
  Host& self = From(host);
  if (id == nullptr) return nullptr;
  {
    std::lock_guard lock(self.mutex_);
    self.queried_.emplace_back(id);
  }
  return self.Extension(id);
}

// [thread-safe]
void Host::RequestRestart(const clap_host* host) { ++From(host).requestRestartCount_; }

// [thread-safe]
void Host::RequestProcess(const clap_host* host) { ++From(host).requestProcessCount_; }

// [thread-safe]
void Host::RequestCallback(const clap_host* host) { From(host).callbackRequested_ = true; }

// [thread-safe]
void Host::LogMessage(const clap_host* host, int32_t severity, const char* message) {
  Host& self = From(host);
  std::lock_guard lock(self.mutex_);
  self.log_.push_back({severity, message ? message : "(null)"});
}

// [thread-safe]
bool Host::IsMainThreadCallback(const clap_host* host) { return From(host).IsMainThread(); }

// [thread-safe]
bool Host::IsAudioThreadCallback(const clap_host* host) { return From(host).IsAudioThread(); }

// [main-thread]
void Host::ParamsRescan(const clap_host* host, uint32_t flags) {
  Host& self = From(host);
  self.ExpectMainThread("clap_host_params.rescan");
  std::lock_guard lock(self.mutex_);
  self.rescanFlags_.push_back(flags);
}

// [main-thread]
void Host::ParamsClear(const clap_host* host, clap_id, uint32_t) {
  Host& self = From(host);
  self.ExpectMainThread("clap_host_params.clear");
  ++self.clearCount_;
}

// [thread-safe, !audio-thread]
void Host::ParamsRequestFlush(const clap_host* host) {
  Host& self = From(host);
  if (self.IsAudioThread()) {
    std::lock_guard lock(self.mutex_);
    self.violations_.emplace_back("clap_host_params.request_flush called on the audio thread");
  }
  ++self.requestFlushCount_;
}

// [main-thread]
void Host::LatencyChanged(const clap_host* host) {
  Host& self = From(host);
  self.ExpectMainThread("clap_host_latency.changed");
  ++self.latencyChangedCount_;
}

// [audio-thread]
void Host::TailChanged(const clap_host* host) { ++From(host).tailChangedCount_; }

// [thread-safe]
void Host::GuiResizeHintsChanged(const clap_host*) {}

// [thread-safe]
bool Host::GuiRequestResize(const clap_host* host, uint32_t width, uint32_t height) {
  Host& self = From(host);
  std::lock_guard lock(self.mutex_);
  self.resizeRequests_.emplace_back(width, height);
  return self.config_.guiResizeAccepted;
}

// [thread-safe]
bool Host::GuiRequestShowOrHide(const clap_host*) { return false; }

// [thread-safe]
void Host::GuiClosed(const clap_host*, bool) {}

// [main-thread]
bool Host::TrackInfoGet(const clap_host* host, clap_track_info* info) {
  Host& self = From(host);
  self.ExpectMainThread("clap_host_track_info.get");
  if (info == nullptr) return false;
  *info = clap_track_info{};
  info->flags = CLAP_TRACK_INFO_HAS_TRACK_NAME | CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL;
  std::strcpy(info->name, "Track 1");
  info->audio_channel_count = self.config_.trackChannelCount;
  info->audio_port_type = self.config_.trackChannelCount == 1   ? "mono"
                          : self.config_.trackChannelCount == 2 ? "stereo"
                                                                : nullptr;
  return true;
}

// [main-thread]
void Host::PresetLoadOnError(const clap_host* host, uint32_t kind, const char* location,
                             const char* loadKey, int32_t osError, const char* message) {
  Host& self = From(host);
  self.ExpectMainThread("clap_host_preset_load.on_error");
  std::lock_guard lock(self.mutex_);
  self.presetErrors_.push_back(
      {kind, OptionalText(location), loadKey ? loadKey : "", osError, message ? message : ""});
}

// [main-thread]
void Host::PresetLoaded(const clap_host* host, uint32_t kind, const char* location,
                        const char* loadKey) {
  Host& self = From(host);
  self.ExpectMainThread("clap_host_preset_load.loaded");
  std::lock_guard lock(self.mutex_);
  self.presetsLoaded_.push_back({kind, OptionalText(location), loadKey ? loadKey : "", 0, ""});
}

// [main-thread]
bool Host::RegisterTimer(const clap_host* host, uint32_t periodMs, clap_id* timerId) {
  Host& self = From(host);
  self.ExpectMainThread("clap_host_timer_support.register_timer");
  if (timerId == nullptr) return false;
  std::lock_guard lock(self.mutex_);
  const clap_id id = self.nextTimerId_++;
  const auto period = std::chrono::milliseconds(periodMs);
  self.timers_.push_back({{id, periodMs}, std::chrono::steady_clock::now() + period});
  *timerId = id;
  return true;
}

// [main-thread]
bool Host::UnregisterTimer(const clap_host* host, clap_id timerId) {
  Host& self = From(host);
  self.ExpectMainThread("clap_host_timer_support.unregister_timer");
  std::lock_guard lock(self.mutex_);
  for (auto it = self.timers_.begin(); it != self.timers_.end(); ++it) {
    if (it->registration.id == timerId) {
      self.timers_.erase(it);
      return true;
    }
  }
  return false;
}

bool Host::PumpMainThread() {
  if (!callbackRequested_.exchange(false) || plugin_ == nullptr) return false;
  plugin_->on_main_thread(plugin_);
  return true;
}

void Host::FireTimer(clap_id id) {
  {
    // A timer unregistered by an earlier callback of the same pump must not fire.
    std::lock_guard lock(mutex_);
    bool registered = false;
    for (const Timer& timer : timers_) registered = registered || timer.registration.id == id;
    if (!registered) return;
  }
  const auto* timers = plugin_ ? static_cast<const clap_plugin_timer_support*>(
                                     plugin_->get_extension(plugin_, CLAP_EXT_TIMER_SUPPORT))
                               : nullptr;
  if (timers == nullptr || timers->on_timer == nullptr) {
    std::lock_guard lock(mutex_);
    violations_.emplace_back("timer registered by a plug-in without clap.timer-support");
    return;
  }
  timers->on_timer(plugin_, id);
}

int Host::PumpTimers(std::chrono::steady_clock::time_point now) {
  std::vector<clap_id> due;
  {
    std::lock_guard lock(mutex_);
    for (Timer& timer : timers_) {
      if (now < timer.nextDue) continue;
      timer.nextDue = now + std::chrono::milliseconds(timer.registration.periodMs);
      due.push_back(timer.registration.id);
    }
  }
  for (clap_id id : due) FireTimer(id);
  return static_cast<int>(due.size());
}

std::chrono::steady_clock::time_point Host::NextTimerDue() const {
  std::lock_guard lock(mutex_);
  auto next = std::chrono::steady_clock::time_point::max();
  for (const Timer& timer : timers_) next = std::min(next, timer.nextDue);
  return next;
}

int Host::FireAllTimers() {
  std::vector<clap_id> all;
  for (const TimerRegistration& timer : Timers()) all.push_back(timer.id);
  for (clap_id id : all) FireTimer(id);
  return static_cast<int>(all.size());
}

void Host::RunMessageLoop(std::chrono::milliseconds duration) {
#ifdef _WIN32
  const auto end = std::chrono::steady_clock::now() + duration;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  } while (std::chrono::steady_clock::now() < end);
#else
  std::this_thread::sleep_for(duration);
#endif
}

std::vector<LogEntry> Host::Log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

std::vector<std::string> Host::QueriedExtensions() const {
  std::lock_guard lock(mutex_);
  return queried_;
}

std::vector<std::string> Host::ThreadViolations() const {
  std::lock_guard lock(mutex_);
  return violations_;
}

std::vector<uint32_t> Host::RescanFlags() const {
  std::lock_guard lock(mutex_);
  return rescanFlags_;
}

std::vector<std::pair<uint32_t, uint32_t>> Host::ResizeRequests() const {
  std::lock_guard lock(mutex_);
  return resizeRequests_;
}

std::vector<PresetLoadReport> Host::PresetLoadErrors() const {
  std::lock_guard lock(mutex_);
  return presetErrors_;
}

std::vector<PresetLoadReport> Host::PresetsLoaded() const {
  std::lock_guard lock(mutex_);
  return presetsLoaded_;
}

std::vector<TimerRegistration> Host::Timers() const {
  std::lock_guard lock(mutex_);
  std::vector<TimerRegistration> registrations;
  for (const Timer& timer : timers_) registrations.push_back(timer.registration);
  return registrations;
}

}  // namespace clapHost
