#include "host/HostProxy.h"

#include <cstdio>

namespace plugkit {

const void* HostProxy::Extension(const char* id) const {
  if (!host_ || !host_->get_extension) return nullptr;
  return host_->get_extension(host_, id);
}

void HostProxy::QueryExtensions() {
  log_ = static_cast<const clap_host_log*>(Extension(CLAP_EXT_LOG));
  threadCheck_ = static_cast<const clap_host_thread_check*>(Extension(CLAP_EXT_THREAD_CHECK));
  latency_ = static_cast<const clap_host_latency*>(Extension(CLAP_EXT_LATENCY));
  tail_ = static_cast<const clap_host_tail*>(Extension(CLAP_EXT_TAIL));
  gui_ = static_cast<const clap_host_gui*>(Extension(CLAP_EXT_GUI));
  params_ = static_cast<const clap_host_params*>(Extension(CLAP_EXT_PARAMS));
  trackInfo_ = static_cast<const clap_host_track_info*>(Extension(CLAP_EXT_TRACK_INFO));
  if (!trackInfo_) {
    trackInfo_ = static_cast<const clap_host_track_info*>(Extension(CLAP_EXT_TRACK_INFO_COMPAT));
  }
  presetLoad_ = static_cast<const clap_host_preset_load*>(Extension(CLAP_EXT_PRESET_LOAD));
  if (!presetLoad_) {
    presetLoad_ = static_cast<const clap_host_preset_load*>(Extension(CLAP_EXT_PRESET_LOAD_COMPAT));
  }
  timerSupport_ = static_cast<const clap_host_timer_support*>(Extension(CLAP_EXT_TIMER_SUPPORT));
}

void HostProxy::Log(int32_t severity, const char* message) const {
  if (log_ && log_->log) {
    log_->log(host_, severity, message);
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
  return threadCheck_ && threadCheck_->is_main_thread && threadCheck_->is_audio_thread &&
         threadCheck_->is_main_thread(host_);
}

#ifdef PLUGKIT_THREAD_CHECKS
bool HostProxy::FollowsThreadRule(ThreadRule rule, const char* function) const {
  // An incomplete check counts as absent without a message, as in IsMainThread: every host
  // call would report it.
  if (!threadCheck_ || !threadCheck_->is_main_thread || !threadCheck_->is_audio_thread) {
    return true;
  }
  const char* needed = "the main thread";
  switch (rule) {
    case ThreadRule::Main:
      if (threadCheck_->is_main_thread(host_)) return true;
      break;
    case ThreadRule::Audio:
      if (threadCheck_->is_audio_thread(host_)) return true;
      needed = "the audio thread";
      break;
    case ThreadRule::MainOrAudio:
      if (threadCheck_->is_main_thread(host_) || threadCheck_->is_audio_thread(host_)) return true;
      needed = "the main or the audio thread";
      break;
  }
  char message[160];
  std::snprintf(message, sizeof message,
                "host called %s on the wrong thread (it needs %s); the call is refused", function,
                needed);
  Log(CLAP_LOG_HOST_MISBEHAVING, message);
  return false;
}
#endif

void HostProxy::RequestCallback() const {
  if (host_ && host_->request_callback) host_->request_callback(host_);
}

void HostProxy::RequestRestart() const {
  if (host_ && host_->request_restart) host_->request_restart(host_);
}

bool HostProxy::LatencyChanged() const {
  if (!Check(latency_, latency_ && latency_->changed, "clap_host_latency")) return false;
  latency_->changed(host_);
  return true;
}

bool HostProxy::HasCompleteTail() const {
  return Check(tail_, tail_ && tail_->changed, "clap_host_tail");
}

bool HostProxy::TailChanged() const {
  if (!HasCompleteTail()) return false;
  tail_->changed(host_);
  return true;
}

bool HostProxy::HasCompleteParams() const {
  return Check(params_, params_ && params_->rescan && params_->clear && params_->request_flush,
               "clap_host_params");
}

bool HostProxy::ParamsRescan(uint32_t flags) const {
  if (!HasCompleteParams()) return false;
  params_->rescan(host_, flags);
  return true;
}

bool HostProxy::ParamsRequestFlush() const {
  if (!HasCompleteParams()) return false;
  params_->request_flush(host_);
  return true;
}

bool HostProxy::TrackChannelCount(int32_t& channels) const {
  if (!Check(trackInfo_, trackInfo_ && trackInfo_->get, "clap_host_track_info")) return false;
  clap_track_info info{};
  if (!trackInfo_->get(host_, &info)) return false;
  channels = info.audio_channel_count;
  return true;
}

bool HostProxy::PresetLoaded(uint32_t kind, const char* location, const char* key) const {
  if (!Check(presetLoad_, presetLoad_ && presetLoad_->on_error && presetLoad_->loaded,
             "clap_host_preset_load")) {
    return false;
  }
  presetLoad_->loaded(host_, kind, location, key);
  return true;
}

bool HostProxy::PresetLoadError(uint32_t kind, const char* location, const char* key,
                                int32_t osError, const char* message) const {
  if (!Check(presetLoad_, presetLoad_ && presetLoad_->on_error && presetLoad_->loaded,
             "clap_host_preset_load")) {
    return false;
  }
  presetLoad_->on_error(host_, kind, location, key, osError, message);
  return true;
}

const clap_host_timer_support* HostProxy::TimerSupport() const {
  const bool complete =
      timerSupport_ && timerSupport_->register_timer && timerSupport_->unregister_timer;
  return complete ? timerSupport_ : nullptr;
}

}  // namespace plugkit
