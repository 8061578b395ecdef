#include "host/GuiExtension.h"

#include "host/ClapPlugin.h"

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
  return WithWindow(plugin, false,
                    [&](ClapEditorWindow& w) { return w.IsApiSupported(api, isFloating); });
}

// [main-thread]
bool GetPreferredApi(const clap_plugin*, const char**, bool*) { return false; }

// [main-thread]
bool Create(const clap_plugin* plugin, const char* api, bool isFloating) {
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.Create(api, isFloating); });
}

// [main-thread]
void Destroy(const clap_plugin* plugin) {
  WithWindow(plugin, false, [](ClapEditorWindow& w) {
    w.Destroy();
    return true;
  });
}

// [main-thread]
bool SetScale(const clap_plugin* plugin, double scale) {
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.SetScale(scale); });
}

// [main-thread]
bool GetSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) {
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.GetSize(width, height); });
}

// [main-thread]
bool CanResize(const clap_plugin* plugin) {
  return WithWindow(plugin, false, [](ClapEditorWindow& w) { return w.CanResize(); });
}

// [main-thread]
bool GetResizeHints(const clap_plugin*, clap_gui_resize_hints_t*) { return false; }

// [main-thread]
bool AdjustSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height) {
  return WithWindow(plugin, false,
                    [&](ClapEditorWindow& w) { return w.AdjustSize(width, height); });
}

// [main-thread]
bool SetSize(const clap_plugin* plugin, uint32_t width, uint32_t height) {
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.SetSize(width, height); });
}

// [main-thread]
bool SetParent(const clap_plugin* plugin, const clap_window_t* window) {
  return WithWindow(plugin, false, [&](ClapEditorWindow& w) { return w.SetParent(window); });
}

// [main-thread]
bool SetTransient(const clap_plugin*, const clap_window_t*) { return false; }

// [main-thread]
void SuggestTitle(const clap_plugin*, const char*) {}

// [main-thread]
bool Show(const clap_plugin* plugin) {
  return WithWindow(plugin, false, [](ClapEditorWindow& w) { return w.Show(); });
}

// [main-thread]
bool Hide(const clap_plugin* plugin) {
  return WithWindow(plugin, false, [](ClapEditorWindow& w) { return w.Hide(); });
}

constexpr clap_plugin_gui kGui{
    IsApiSupported, GetPreferredApi, Create,         Destroy,    SetScale,
    GetSize,        CanResize,       GetResizeHints, AdjustSize, SetSize,
    SetParent,      SetTransient,    SuggestTitle,   Show,       Hide};

}  // namespace

const clap_plugin_gui& GuiExtension() { return kGui; }

}  // namespace plugkit
