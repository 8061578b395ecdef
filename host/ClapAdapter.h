#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

#include "host/HostProxy.h"
#include "host/clap/Plugin.h"

namespace plugkit {

// The CLAP face of an instance: the clap_plugin handed to the host (plugin_data points back
// here), the lifecycle flags, the host proxy and the queue of callbacks waiting for the main
// thread. Each clap_plugin function forwards to a virtual On... operation; nothing thrown
// there reaches the host. Builds with thread checks first refuse calls on a forbidden thread.
class ClapAdapter {
 public:
  ClapAdapter(const clap_plugin_descriptor* descriptor, const clap_host* host);
  ClapAdapter(const ClapAdapter&) = delete;
  ClapAdapter& operator=(const ClapAdapter&) = delete;
  virtual ~ClapAdapter();

  const clap_plugin* ClapPluginStruct() const { return &plugin_; }
  // The adapter behind a clap_plugin this module made; null for null.
  static ClapAdapter* FromClap(const clap_plugin* plugin);

  const HostProxy& Host() const { return host_; }
  const clap_plugin_descriptor* Descriptor() const { return plugin_.desc; }

  bool IsInitCalled() const { return initCalled_; }
  // [thread-safe]
  bool IsActive() const { return active_.load(std::memory_order_acquire); }
  bool IsActivating() const { return activating_; }
  bool IsProcessing() const { return processing_.load(std::memory_order_acquire); }
  bool IsDestroying() const { return destroying_; }
  double ActiveSampleRate() const { return sampleRate_; }

  // [thread-safe] At once when the host says this is the main thread; otherwise queued
  // under the instance mutex, with request_callback.
  void RunOnMainThread(std::function<void()> callback);
  // [main-thread] Runs every waiting callback, also those queued while one runs; each runs
  // without the mutex held.
  void RunMainThreadCallbacks();

 protected:
  // [main-thread]
  virtual bool OnInit() = 0;
  // [main-thread] Ends with the object deleted.
  virtual void OnDestroy() = 0;
  // [main-thread]
  virtual bool OnActivate(double sampleRate, uint32_t minFrames, uint32_t maxFrames) = 0;
  virtual void OnDeactivate() = 0;
  // [audio-thread]
  virtual void OnReset() = 0;
  virtual clap_process_status OnProcess(const clap_process* process) = 0;
  // [thread-safe]
  virtual const void* OnGetExtension(const char* id) = 0;
  // [main-thread]
  virtual void OnMainThread() = 0;

  // [main-thread] The part of deactivate shared with destroy.
  void Deactivate();

 private:
  static bool Init(const clap_plugin* plugin);
  static void Destroy(const clap_plugin* plugin);
  static bool Activate(const clap_plugin* plugin, double sampleRate, uint32_t minFrames,
                       uint32_t maxFrames);
  static void DeactivateCallback(const clap_plugin* plugin);
  static bool StartProcessing(const clap_plugin* plugin);
  static void StopProcessing(const clap_plugin* plugin);
  static void Reset(const clap_plugin* plugin);
  static clap_process_status Process(const clap_plugin* plugin, const clap_process* process);
  static const void* GetExtension(const clap_plugin* plugin, const char* id);
  static void MainThread(const clap_plugin* plugin);

  clap_plugin plugin_;
  HostProxy host_;
  bool initCalled_ = false;
  // Read by the process call on the audio thread.
  std::atomic<bool> active_{false};
  bool activating_ = false;
  std::atomic<bool> processing_{false};
  bool destroying_ = false;
  double sampleRate_ = 0.0;
  std::mutex callbackMutex_;
  std::deque<std::function<void()>> callbacks_;
};

}  // namespace plugkit
