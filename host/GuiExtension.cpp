#include "host/GuiExtension.h"

#include "host/ClapPlugin.h"
#include "host/ThreadGuard.h"

namespace plugkit {
namespace {

// Runs `call` on the instance's editor window; `fallback` for an unknown instance or when the
// call throws (the host is told no rather than unwound).
template <class Result, class Call>
Result WithWindow(const clap_plugin* plugin, Result fallback, Call call) {
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  if (!self) return fallback;
  try {
    return call(self->EditorWindow());
  } catch (...) {
    return fallback;
  }
}

// [main-thread]
bool IsApiSupported(const clap_plugin* plugin, const char* api, bool isFloating) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.is_api_supported", false);
  return WithWindow(plugin, false,
                    [&](ClapEditorWindow& w) { return w.IsApiSupported(api, isFloating); });
}

// [main-thread]
bool GetPreferredApi(const clap_plugin* plugin, const char**, bool*) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.get_preferred_api", false);
  return false;
}

// [main-thread]
bool Create(const clap_plugin* plugin, const char* api, bool isFloating) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.create", false);
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.Create(api, isFloating); });
}

// [main-thread]
void Destroy(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.destroy");
  WithWindow(plugin, false, [](ClapEditorWindow& w) {
    w.Destroy();
    return true;
  });
}

// [main-thread]
bool SetScale(const clap_plugin* plugin, double scale) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.set_scale", false);
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.SetScale(scale); });
}

// [main-thread]
bool GetSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.get_size", false);
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.GetSize(width, height); });
}

// [main-thread]
bool CanResize(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.can_resize", false);
  return WithWindow(plugin, false, [](ClapEditorWindow& w) { return w.CanResize(); });
}

// [main-thread]
bool GetResizeHints(const clap_plugin* plugin, clap_gui_resize_hints_t*) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.get_resize_hints", false);
  return false;
}

// [main-thread]
bool AdjustSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.adjust_size", false);
  return WithWindow(plugin, false,
                    [&](ClapEditorWindow& w) { return w.AdjustSize(width, height); });
}

// [main-thread]
bool SetSize(const clap_plugin* plugin, uint32_t width, uint32_t height) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.set_size", false);
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.SetSize(width, height); });
}

// [main-thread]
bool SetParent(const clap_plugin* plugin, const clap_window_t* window) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.set_parent", false);
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.SetParent(window); });
}

// [main-thread]
bool SetTransient(const clap_plugin* plugin, const clap_window_t*) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.set_transient", false);
  return false;
}

// [main-thread]
void SuggestTitle(const clap_plugin* plugin, const char*) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.suggest_title");
}

// [main-thread]
bool Show(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.show", false);
  return WithWindow(plugin, false, [](ClapEditorWindow& w) { return w.Show(); });
}

// [main-thread]
bool Hide(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_gui.hide", false);
  return WithWindow(plugin, false, [](ClapEditorWindow& w) { return w.Hide(); });
}

constexpr clap_plugin_gui kGui{
    IsApiSupported, GetPreferredApi, Create,         Destroy,    SetScale,
    GetSize,        CanResize,       GetResizeHints, AdjustSize, SetSize,
    SetParent,      SetTransient,    SuggestTitle,   Show,       Hide};

}  // namespace

const clap_plugin_gui& GuiExtension() { return kGui; }

}  // namespace plugkit
