#include "host/ClapAdapter.h"

namespace plugkit {

ClapAdapter::ClapAdapter(const clap_plugin_descriptor* descriptor, const clap_host* host)
    : mHost(host) {
  mPlugin.desc = descriptor;
  mPlugin.plugin_data = this;
  mPlugin.init = Init;
  mPlugin.destroy = Destroy;
  mPlugin.activate = Activate;
  mPlugin.deactivate = DeactivateCallback;
  mPlugin.start_processing = StartProcessing;
  mPlugin.stop_processing = StopProcessing;
  mPlugin.reset = Reset;
  mPlugin.process = Process;
  mPlugin.get_extension = GetExtension;
  mPlugin.on_main_thread = MainThread;
}

ClapAdapter::~ClapAdapter() = default;

ClapAdapter* ClapAdapter::FromClap(const clap_plugin* plugin) {
  return plugin ? static_cast<ClapAdapter*>(plugin->plugin_data) : nullptr;
}

void ClapAdapter::RunOnMainThread(std::function<void()> callback) {
  if (mHost.IsMainThread()) {
    callback();
    return;
  }
  {
    std::lock_guard lock(mCallbackMutex);
    mCallbacks.push_back(std::move(callback));
  }
  mHost.RequestCallback();
}

void ClapAdapter::RunMainThreadCallbacks() {
  for (;;) {
    std::function<void()> callback;
    {
      std::lock_guard lock(mCallbackMutex);
      if (mCallbacks.empty()) return;
      callback = std::move(mCallbacks.front());
      mCallbacks.pop_front();
    }
    callback();
  }
}

void ClapAdapter::Deactivate() {
  OnDeactivate();
  // A host may deactivate without stop_processing first.
  mProcessing.store(false, std::memory_order_release);
  mActive = false;
  mSampleRate = 0.0;
}

// [main-thread]
bool ClapAdapter::Init(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return false;
  try {
    self->mInitCalled = true;
    return self->OnInit();
  } catch (...) {
    return false;
  }
}

// [main-thread]
void ClapAdapter::Destroy(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return;
  try {
    self->mDestroying = true;
    self->OnDestroy();
  } catch (...) {
    // Nothing to report to: the host is done with the instance.
  }
}

// [main-thread]
bool ClapAdapter::Activate(const clap_plugin* plugin, double sampleRate, uint32_t minFrames,
                           uint32_t maxFrames) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return false;
  try {
    self->mActivating = true;
    const bool ok = self->OnActivate(sampleRate, minFrames, maxFrames);
    self->mActivating = false;
    if (ok) {
      self->mActive = true;
      self->mSampleRate = sampleRate;
    }
    return ok;
  } catch (...) {
    self->mActivating = false;
    return false;
  }
}

// [main-thread]
void ClapAdapter::DeactivateCallback(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self || !self->mActive) return;
  try {
    self->Deactivate();
  } catch (...) {
  }
}

// [audio-thread]
bool ClapAdapter::StartProcessing(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return false;
  self->mProcessing.store(true, std::memory_order_release);
  return true;
}

// [audio-thread]
void ClapAdapter::StopProcessing(const clap_plugin* plugin) {
  if (ClapAdapter* self = FromClap(plugin)) {
    self->mProcessing.store(false, std::memory_order_release);
  }
}

// [audio-thread]
void ClapAdapter::Reset(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return;
  try {
    self->OnReset();
  } catch (...) {
  }
}

// [audio-thread]
clap_process_status ClapAdapter::Process(const clap_plugin* plugin,
                                         const clap_process* process) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return CLAP_PROCESS_ERROR;
  try {
    return self->OnProcess(process);
  } catch (...) {
    return CLAP_PROCESS_ERROR;
  }
}

// [thread-safe]
const void* ClapAdapter::GetExtension(const clap_plugin* plugin, const char* id) {
  ClapAdapter* self = FromClap(plugin);
  if (!self || !id) return nullptr;
  try {
    return self->OnGetExtension(id);
  } catch (...) {
    return nullptr;
  }
}

// [main-thread]
void ClapAdapter::MainThread(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return;
  try {
    self->OnMainThread();
  } catch (...) {
  }
}

}  // namespace plugkit
