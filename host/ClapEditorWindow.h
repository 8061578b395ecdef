#pragma once

#include <cstdint>

#include "framework/plugin/PluginApiBase.h"
#include "host/HostProxy.h"
#include "host/clap/ext/Gui.h"

namespace plugkit {

// The editor embedded in a host's window: the state behind "clap.gui". The only way offered
// is a child window of the host's native window (X11 on Linux, Win32 on Windows); opening,
// closing and sizing go through the editor delegate, which keeps size and scale while the
// window is closed.
class ClapEditorWindow {
 public:
  ClapEditorWindow(PluginApiBase& editor, const HostProxy& host) : editor_(editor), host_(host) {}

  // [main-thread] Each returns false at once when the plug-in has no editor.
  bool IsApiSupported(const char* api, bool isFloating) const;
  bool Create(const char* api, bool isFloating);
  // False for a null window, another API or a parent the editor cannot open in.
  bool SetParent(const clap_window* window);
  bool Show();
  bool Hide();
  // Closes the window and forgets parent and pending size; harmless when nothing was created.
  void Destroy();
  bool SetScale(double scale);
  bool GetSize(uint32_t* width, uint32_t* height) const;
  bool CanResize() const;
  bool AdjustSize(uint32_t* width, uint32_t* height) const;
  bool SetSize(uint32_t width, uint32_t height);

  // [main-thread] The editor asks the host for a new window size (its corner control).
  bool ResizeInHost(int width, int height);

  // [main-thread] Between create and destroy: an editor opened now belongs in a host window.
  bool IsCreated() const { return created_; }
  bool IsOpen() const { return open_; }

 private:
  bool OpenInParent(void* parent);

  PluginApiBase& editor_;
  const HostProxy& host_;
  void* parent_ = nullptr;
  bool created_ = false;
  bool parentSet_ = false;
  bool open_ = false;
  bool sizePending_ = false;
  bool hostResizing_ = false;
  int pendingWidth_ = 0;
  int pendingHeight_ = 0;
};

}  // namespace plugkit
