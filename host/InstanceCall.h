#pragma once

#include <type_traits>

#include "host/clap/Plugin.h"

namespace plugkit {

// Runs `body` on the instance behind a clap_plugin the host passed in. Without an instance, or
// when the body throws, the call gives `failure` instead: nothing a host calls lets an
// exception escape. Instance provides `static Instance* FromClap(const clap_plugin*)`.
template <class Instance, class Result, class Body>
Result CallInstance(const clap_plugin* plugin, Result failure, Body&& body) noexcept {
  Instance* self = Instance::FromClap(plugin);
  if (!self) return failure;
  try {
    return body(*self);
  } catch (...) {
    return failure;
  }
}

// The same for calls that return nothing: a missing instance or a throw ends the call.
template <class Instance, class Body>
void CallInstance(const clap_plugin* plugin, Body&& body) noexcept {
  static_assert(std::is_void_v<decltype(body(*Instance::FromClap(plugin)))>);
  Instance* self = Instance::FromClap(plugin);
  if (!self) return;
  try {
    body(*self);
  } catch (...) {
    // Nothing to report to: the host gets no answer from a call of this kind.
  }
}

}  // namespace plugkit
