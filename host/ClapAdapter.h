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
// there reaches the host.
class ClapAdapter {
 public:
  ClapAdapter(const clap_plugin_descriptor* descriptor, const clap_host* host);
  ClapAdapter(const ClapAdapter&) = delete;
  ClapAdapter& operator=(const ClapAdapter&) = delete;
  virtual ~ClapAdapter();

  const clap_plugin* ClapPluginStruct() const { return &mPlugin; }
  // The adapter behind a clap_plugin this module made; null for null.
  static ClapAdapter* FromClap(const clap_plugin* plugin);

  const HostProxy& Host() const { return mHost; }
  const clap_plugin_descriptor* Descriptor() const { return mPlugin.desc; }

  bool IsInitCalled() const { return mInitCalled; }
  bool IsActive() const { return mActive; }
  bool IsActivating() const { return mActivating; }
  bool IsProcessing() const { return mProcessing.load(std::memory_order_acquire); }
  bool IsDestroying() const { return mDestroying; }
  double ActiveSampleRate() const { return mSampleRate; }

  // [thread-safe] At once when the host says this is the main thread; otherwise queued
  // under the instance mutex, with request_callback.
  void RunOnMainThread(std::function<void()> callback);
  // [main-thread] Runs every waiting callback, also those queued while one runs; each runs
  // without the mutex held.
  void RunMainThreadCallbacks();

 protected:
  HostProxy& MutableHost() { return mHost; }

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

  clap_plugin mPlugin;
  HostProxy mHost;
  bool mInitCalled = false;
  bool mActive = false;
  bool mActivating = false;
  std::atomic<bool> mProcessing{false};
  bool mDestroying = false;
  double mSampleRate = 0.0;
  std::mutex mCallbackMutex;
  std::deque<std::function<void()>> mCallbacks;
};

}  // namespace plugkit
