#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/clap/Host.h"
#include "host/clap/Plugin.h"
#include "host/clap/ext/TrackInfo.h"

namespace clapHost {

// How the host answers an extension: not at all, with every function, or with one missing.
enum class Offer { Absent, Complete, Incomplete };

struct HostConfig {
  clap_version version = CLAP_VERSION;
  std::string name = "Quorvel test host";
  // Without get_extension the host offers nothing, like a throwaway scanning instance.
  bool hasGetExtension = true;

  Offer log = Offer::Complete;
  Offer threadCheck = Offer::Complete;
  Offer params = Offer::Complete;
  Offer latency = Offer::Complete;
  Offer tail = Offer::Complete;
  Offer gui = Offer::Complete;
  Offer trackInfo = Offer::Absent;
  Offer presetLoad = Offer::Complete;
  Offer timerSupport = Offer::Complete;

  // Answer track-info and preset-load under their draft identifiers only.
  bool trackInfoDraftOnly = false;
  bool presetLoadDraftOnly = false;

  int32_t trackChannelCount = 2;
  bool guiResizeAccepted = true;
};

struct LogEntry {
  int32_t severity;
  std::string message;
};

struct PresetLoadReport {
  uint32_t locationKind;
  std::optional<std::string> location;
  std::string loadKey;
  int32_t osError = 0;
  std::string message;  // empty for loaded
};

struct TimerRegistration {
  clap_id id;
  uint32_t periodMs;
};

// A clap_host whose extensions tests switch on, off or make incomplete, recording every call.
// The thread that constructs it is the main thread; AudioThreadScope marks the audio thread.
class Host {
 public:
  explicit Host(HostConfig config = {});
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  const clap_host* Clap() const { return &clapHost_; }
  const HostConfig& Config() const { return config_; }

  // [main-thread] The instance that timers and main-thread callbacks go to.
  void AttachPlugin(const clap_plugin* plugin) { plugin_ = plugin; }

  // While alive, the thread that created the scope is the audio thread (and not the main one).
  class AudioThreadScope {
   public:
    explicit AudioThreadScope(Host& host);
    ~AudioThreadScope();
    AudioThreadScope(const AudioThreadScope&) = delete;
    AudioThreadScope& operator=(const AudioThreadScope&) = delete;

   private:
    Host& host_;
    std::thread::id previous_;
  };

  // [main-thread] Calls on_main_thread if the plug-in asked for it; true when it did.
  bool PumpMainThread();
  // [main-thread] Fires the timers whose period has elapsed; returns how many fired.
  int PumpTimers(std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());
  // [main-thread] Fires every registered timer once, due or not.
  int FireAllTimers();
  // [main-thread] Runs the thread's message loop for a while, as a Windows host's main thread
  // does: a Windows plug-in's own timers and windows are served there. Elsewhere it waits.
  void RunMessageLoop(std::chrono::milliseconds duration);
  // [main-thread] When the next timer falls due; far in the future without timers.
  std::chrono::steady_clock::time_point NextTimerDue() const;

  std::vector<LogEntry> Log() const;
  std::vector<std::string> QueriedExtensions() const;
  // Host functions called from a thread their contract forbids, described in words.
  std::vector<std::string> ThreadViolations() const;
  std::vector<uint32_t> RescanFlags() const;
  std::vector<std::pair<uint32_t, uint32_t>> ResizeRequests() const;
  std::vector<PresetLoadReport> PresetLoadErrors() const;
  std::vector<PresetLoadReport> PresetsLoaded() const;
  std::vector<TimerRegistration> Timers() const;

  int ClearCount() const { return clearCount_; }
  int RequestFlushCount() const { return requestFlushCount_; }
  int LatencyChangedCount() const { return latencyChangedCount_; }
  int TailChangedCount() const { return tailChangedCount_; }
  int RequestRestartCount() const { return requestRestartCount_; }
  int RequestProcessCount() const { return requestProcessCount_; }
  bool CallbackRequested() const { return callbackRequested_; }

  bool IsMainThread() const;
  bool IsAudioThread() const;

 private:
  struct Timer {
    TimerRegistration registration;
    std::chrono::steady_clock::time_point nextDue;
  };

  static Host& From(const clap_host* host);
  const void* Extension(const char* id);
  void ExpectMainThread(const char* function);
  void FireTimer(clap_id id);

  static const void* GetExtension(const clap_host* host, const char* id);
  static void RequestRestart(const clap_host* host);
  static void RequestProcess(const clap_host* host);
  static void RequestCallback(const clap_host* host);
  static void LogMessage(const clap_host* host, int32_t severity, const char* message);
  static bool IsMainThreadCallback(const clap_host* host);
  static bool IsAudioThreadCallback(const clap_host* host);
  static void ParamsRescan(const clap_host* host, uint32_t flags);
  static void ParamsClear(const clap_host* host, clap_id id, uint32_t flags);
  static void ParamsRequestFlush(const clap_host* host);
  static void LatencyChanged(const clap_host* host);
  static void TailChanged(const clap_host* host);
  static void GuiResizeHintsChanged(const clap_host* host);
  static bool GuiRequestResize(const clap_host* host, uint32_t width, uint32_t height);
  static bool GuiRequestShowOrHide(const clap_host* host);
  static void GuiClosed(const clap_host* host, bool wasDestroyed);
  static bool TrackInfoGet(const clap_host* host, clap_track_info* info);
  static void PresetLoadOnError(const clap_host* host, uint32_t kind, const char* location,
                                const char* loadKey, int32_t osError, const char* message);
  static void PresetLoaded(const clap_host* host, uint32_t kind, const char* location,
                           const char* loadKey);
  static bool RegisterTimer(const clap_host* host, uint32_t periodMs, clap_id* timerId);
  static bool UnregisterTimer(const clap_host* host, clap_id timerId);

  HostConfig config_;
  clap_host clapHost_;
  const clap_plugin* plugin_ = nullptr;
  const std::thread::id mainThread_;
  std::atomic<std::thread::id> audioThread_{};

  mutable std::mutex mutex_;  // guards the vectors below
  std::vector<LogEntry> log_;
  std::vector<std::string> queried_;
  std::vector<std::string> violations_;
  std::vector<uint32_t> rescanFlags_;
  std::vector<std::pair<uint32_t, uint32_t>> resizeRequests_;
  std::vector<PresetLoadReport> presetErrors_;
  std::vector<PresetLoadReport> presetsLoaded_;
  std::vector<Timer> timers_;
  clap_id nextTimerId_ = 1;

  std::atomic<int> clearCount_{0};
  std::atomic<int> requestFlushCount_{0};
  std::atomic<int> latencyChangedCount_{0};
  std::atomic<int> tailChangedCount_{0};
  std::atomic<int> requestRestartCount_{0};
  std::atomic<int> requestProcessCount_{0};
  std::atomic<bool> callbackRequested_{false};
};

}  // namespace clapHost
