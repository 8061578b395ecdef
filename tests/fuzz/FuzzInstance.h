// An instance built through the module's own factory inside the fuzzer process, served by a
// host that offers no extension, activated and processing.

#pragma once

#include <cmath>
#include <cstdlib>

#include "host/clap/Clap.h"
#include "product/Product.h"

extern "C" {
extern const clap_plugin_factory clap_factory;
}

namespace quorvelFuzz {

inline const void* NoExtension(const clap_host*, const char*) { return nullptr; }
inline void Ignore(const clap_host*) {}

inline const clap_host kHost{CLAP_VERSION_INIT, nullptr,     "fuzz", "",     "",
                             "1.0.0",           NoExtension, Ignore, Ignore, Ignore};

constexpr uint32_t kMaxFrames = 256;

class FuzzInstance {
 public:
  FuzzInstance() {
    if (!clap_entry.init("/fuzz/Quorvel.clap")) std::abort();
    plugin_ = clap_factory.create_plugin(&clap_factory, &kHost, quorvel::kPluginId);
    if (!plugin_ || !plugin_->init(plugin_) || !plugin_->activate(plugin_, 48000, 1, kMaxFrames) ||
        !plugin_->start_processing(plugin_)) {
      std::abort();
    }
  }
  ~FuzzInstance() {
    plugin_->stop_processing(plugin_);
    plugin_->deactivate(plugin_);
    plugin_->destroy(plugin_);
    clap_entry.deinit();
  }

  const clap_plugin* Plugin() const { return plugin_; }

  template <class Extension>
  const Extension& Get(const char* id) const {
    const auto* extension = static_cast<const Extension*>(plugin_->get_extension(plugin_, id));
    if (!extension) std::abort();
    return *extension;
  }

  // Every parameter must still hold a finite value inside what the host was told.
  void CheckParameters() const {
    const auto& params = Get<clap_plugin_params>(CLAP_EXT_PARAMS);
    for (uint32_t i = 0; i < params.count(plugin_); ++i) {
      clap_param_info info{};
      double value = 0.0;
      if (!params.get_info(plugin_, i, &info) || !params.get_value(plugin_, i, &value)) {
        std::abort();
      }
      if (!std::isfinite(value) || value < info.min_value || value > info.max_value) std::abort();
    }
  }

 private:
  const clap_plugin* plugin_ = nullptr;
};

}  // namespace quorvelFuzz
