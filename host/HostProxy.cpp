#include "host/HostProxy.h"

#include <cstdio>

namespace plugkit {

const void* HostProxy::Extension(const char* id) const {
  if (!mHost || !mHost->get_extension) return nullptr;
  return mHost->get_extension(mHost, id);
}

void HostProxy::QueryExtensions() {
  mLog = static_cast<const clap_host_log*>(Extension(CLAP_EXT_LOG));
  mThreadCheck = static_cast<const clap_host_thread_check*>(Extension(CLAP_EXT_THREAD_CHECK));
  mLatency = static_cast<const clap_host_latency*>(Extension(CLAP_EXT_LATENCY));
  mTail = static_cast<const clap_host_tail*>(Extension(CLAP_EXT_TAIL));
  mGui = static_cast<const clap_host_gui*>(Extension(CLAP_EXT_GUI));
  mParams = static_cast<const clap_host_params*>(Extension(CLAP_EXT_PARAMS));
  mTrackInfo = static_cast<const clap_host_track_info*>(Extension(CLAP_EXT_TRACK_INFO));
  if (!mTrackInfo) {
    mTrackInfo = static_cast<const clap_host_track_info*>(Extension(CLAP_EXT_TRACK_INFO_COMPAT));
  }
  mPresetLoad = static_cast<const clap_host_preset_load*>(Extension(CLAP_EXT_PRESET_LOAD));
  if (!mPresetLoad) {
    mPresetLoad =
        static_cast<const clap_host_preset_load*>(Extension(CLAP_EXT_PRESET_LOAD_COMPAT));
  }
  mTimerSupport =
      static_cast<const clap_host_timer_support*>(Extension(CLAP_EXT_TIMER_SUPPORT));
}

void HostProxy::Log(int32_t severity, const char* message) const {
  if (mLog && mLog->log) {
    mLog->log(mHost, severity, message);
    return;
  }
  const bool isError = severity == CLAP_LOG_ERROR || severity == CLAP_LOG_HOST_MISBEHAVING;
  std::FILE* stream = isError ? stderr : stdout;
  std::fprintf(stream, "%s\n", message);
  std::fflush(stream);
}

bool HostProxy::Check(const void* table, bool complete, const char* name) const {
  if (!table) return false;
  if (complete) return true;
  char message[96];
  std::snprintf(message, sizeof message, "%s is partially implemented", name);
  Log(CLAP_LOG_HOST_MISBEHAVING, message);
  return false;
}

bool HostProxy::IsMainThread() const {
  // No message for an incomplete thread check: it is asked on every notification, and the
  // answer "cannot tell" already takes the safe path through request_callback.
  return mThreadCheck && mThreadCheck->is_main_thread && mThreadCheck->is_audio_thread &&
         mThreadCheck->is_main_thread(mHost);
}

void HostProxy::RequestCallback() const {
  if (mHost && mHost->request_callback) mHost->request_callback(mHost);
}

void HostProxy::RequestRestart() const {
  if (mHost && mHost->request_restart) mHost->request_restart(mHost);
}

bool HostProxy::LatencyChanged() const {
  if (!Check(mLatency, mLatency && mLatency->changed, "clap_host_latency")) return false;
  mLatency->changed(mHost);
  return true;
}

bool HostProxy::HasCompleteTail() const {
  return Check(mTail, mTail && mTail->changed, "clap_host_tail");
}

bool HostProxy::TailChanged() const {
  if (!HasCompleteTail()) return false;
  mTail->changed(mHost);
  return true;
}

bool HostProxy::HasCompleteParams() const {
  return Check(mParams, mParams && mParams->rescan && mParams->clear && mParams->request_flush,
               "clap_host_params");
}

bool HostProxy::ParamsRescan(uint32_t flags) const {
  if (!HasCompleteParams()) return false;
  mParams->rescan(mHost, flags);
  return true;
}

bool HostProxy::ParamsRequestFlush() const {
  if (!HasCompleteParams()) return false;
  mParams->request_flush(mHost);
  return true;
}

bool HostProxy::TrackChannelCount(int32_t& channels) const {
  if (!Check(mTrackInfo, mTrackInfo && mTrackInfo->get, "clap_host_track_info")) return false;
  clap_track_info info{};
  if (!mTrackInfo->get(mHost, &info)) return false;
  channels = info.audio_channel_count;
  return true;
}

bool HostProxy::PresetLoaded(uint32_t kind, const char* location, const char* key) const {
  if (!Check(mPresetLoad, mPresetLoad && mPresetLoad->on_error && mPresetLoad->loaded,
             "clap_host_preset_load")) {
    return false;
  }
  mPresetLoad->loaded(mHost, kind, location, key);
  return true;
}

bool HostProxy::PresetLoadError(uint32_t kind, const char* location, const char* key,
                                int32_t osError, const char* message) const {
  if (!Check(mPresetLoad, mPresetLoad && mPresetLoad->on_error && mPresetLoad->loaded,
             "clap_host_preset_load")) {
    return false;
  }
  mPresetLoad->on_error(mHost, kind, location, key, osError, message);
  return true;
}

const clap_host_timer_support* HostProxy::TimerSupport() const {
  const bool complete =
      mTimerSupport && mTimerSupport->register_timer && mTimerSupport->unregister_timer;
  return complete ? mTimerSupport : nullptr;
}

}  // namespace plugkit
