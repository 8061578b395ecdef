#include "host/ClapEditorWindow.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace plugkit {
namespace {

int ToInt(uint32_t value) {
  return static_cast<int>(std::min<uint32_t>(value, std::numeric_limits<int>::max()));
}

// The platform's embedded-window API, and its handle as the window layer opens in it.
#ifdef _WIN32
constexpr const char* kWindowApi = CLAP_WINDOW_API_WIN32;
void* ParentHandle(const clap_window& window) { return window.win32; }
#else
constexpr const char* kWindowApi = CLAP_WINDOW_API_X11;
void* ParentHandle(const clap_window& window) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
}
#endif

}  // namespace

bool ClapEditorWindow::IsApiSupported(const char* api, bool isFloating) const {
  if (!editor_.HasEditor() || !api) return false;
  return !isFloating && std::strcmp(api, kWindowApi) == 0;
}

bool ClapEditorWindow::Create(const char* api, bool isFloating) {
  if (!IsApiSupported(api, isFloating)) return false;
  parentSet_ = false;
  created_ = true;
  return true;
}

bool ClapEditorWindow::SetParent(const clap_window* window) {
  if (!editor_.HasEditor() || !created_ || !window || !window->api ||
      std::strcmp(window->api, kWindowApi) != 0) {
    return false;
  }
  if (!OpenInParent(ParentHandle(*window))) return false;
  parentSet_ = true;
  return true;
}

bool ClapEditorWindow::OpenInParent(void* parent) {
  if (!parent) return false;
  parent_ = parent;
  open_ = editor_.OpenWindow(parent_) != nullptr;
  if (open_ && sizePending_) {
    sizePending_ = false;
    editor_.SetEditorSize(pendingWidth_, pendingHeight_);
    editor_.OnHostResizeRequest(pendingWidth_, pendingHeight_);
  }
  if (!open_) {
    // A failed open leaves no half-made window behind.
    editor_.CloseWindow();
    parent_ = nullptr;
  }
  return open_;
}

bool ClapEditorWindow::Show() {
  if (!editor_.HasEditor() || !parent_) return false;
  if (open_) return true;
  return OpenInParent(parent_);
}

bool ClapEditorWindow::Hide() {
  if (!editor_.HasEditor()) return false;
  editor_.CloseWindow();
  open_ = false;
  return true;
}

void ClapEditorWindow::Destroy() {
  if (!created_ && !open_) return;
  editor_.CloseWindow();
  open_ = false;
  sizePending_ = false;
  parent_ = nullptr;
  created_ = false;
  parentSet_ = false;
}

bool ClapEditorWindow::SetScale(double scale) {
  if (!editor_.HasEditor()) return false;
  editor_.SetScreenScale(static_cast<float>(scale));
  return true;
}

bool ClapEditorWindow::GetSize(uint32_t* width, uint32_t* height) const {
  if (!editor_.HasEditor() || !width || !height) return false;
  *width = static_cast<uint32_t>(std::max(editor_.EditorWidth(), 0));
  *height = static_cast<uint32_t>(std::max(editor_.EditorHeight(), 0));
  return true;
}

bool ClapEditorWindow::CanResize() const {
  return editor_.HasEditor() && editor_.HostMayResizeEditor();
}

bool ClapEditorWindow::AdjustSize(uint32_t* width, uint32_t* height) const {
  if (!editor_.HasEditor() || !width || !height) return false;
  int w = ToInt(*width);
  int h = ToInt(*height);
  editor_.ConstrainEditorSize(w, h);
  *width = static_cast<uint32_t>(w);
  *height = static_cast<uint32_t>(h);
  return true;
}

bool ClapEditorWindow::SetSize(uint32_t width, uint32_t height) {
  if (!editor_.HasEditor()) return false;
  const int w = ToInt(width);
  const int h = ToInt(height);
  const bool same = w == editor_.EditorWidth() && h == editor_.EditorHeight();
  // The host answering the editor's own request_resize: already done.
  if (hostResizing_ && same) return true;
  if (!open_) {
    editor_.SetEditorSize(w, h);
    pendingWidth_ = w;
    pendingHeight_ = h;
    sizePending_ = true;
  } else if (!same) {
    editor_.SetEditorSize(w, h);
    editor_.OnHostResizeRequest(w, h);
  }
  return true;
}

bool ClapEditorWindow::ResizeInHost(int width, int height) {
  if (!editor_.HasEditor()) return true;
  if ((open_ || !sizePending_) &&
      (width != editor_.EditorWidth() || height != editor_.EditorHeight())) {
    editor_.SetEditorSize(width, height);
    hostResizing_ = true;
    const clap_host_gui* gui = host_.Gui();
    if (gui && gui->request_resize && width > 0 && height > 0) {
      gui->request_resize(host_.Clap(), static_cast<uint32_t>(width),
                          static_cast<uint32_t>(height));
    }
    hostResizing_ = false;
  }
  return true;
}

}  // namespace plugkit
