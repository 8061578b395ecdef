#pragma once

#include <cstdint>

#include "graphics/platform/GraphicsPlatformBase.h"
#include "graphics/platform/WinFrameClock.h"
#include "graphics/platform/WinTranslate.h"

// Win32 handle types, declared here so that <windows.h> and its macros stay out of every file
// that includes this.
struct HWND__;
struct HDROP__;
struct IDropTarget;

namespace plugkit::gfx {

// The editor as a child window of a host's Win32 window. Everything runs on the thread that
// opened it (the host's main thread): its message procedure, the frame ticks that a vertical-
// blank thread (or, before Windows 8, a window timer) posts to it, painting and input.
class GraphicsWin : public GraphicsPlatformBase {
 public:
  static constexpr unsigned kFrameTimerId = 2;

  GraphicsWin(GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
              float drawScale);
  ~GraphicsWin() override;

  // [main-thread] `parent` is the host's HWND. Null when no window could be made.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* NativeWindow() const override { return window_; }
  bool IsWindowOpen() const override { return window_ != nullptr; }
  // The screen scale of the window's monitor (its DPI over 96, whole).
  float WindowScale() const override;
  void ResizeWindow(bool parentHasResized) override;
  void EndFrame() override;

  void GetPointerPosition(float& x, float& y) const override;
  void MovePointer(float x, float y) override;
  bool SupportsMultiTouch() const override;
  // File URLs open at once; web addresses only when the system reports a connection.
  bool OpenWebAddress(const char* address, const char* title = nullptr,
                      const char* confirmText = nullptr,
                      const char* failureText = nullptr) override;
  const char* PlatformName() const override { return "win32"; }

  // [main-thread] Files dropped at (x, y) in window pixels: one goes to OnDrop, several to
  // OnDropMultiple.
  void DropFiles(HDROP__* drop, long x, long y);

 private:
  static std::intptr_t __stdcall WindowProc(HWND__* window, unsigned message, std::uintptr_t wParam,
                                            std::intptr_t lParam);
  std::intptr_t HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  // The window exists (WM_CREATE): the frame clock starts, keys and drops come here.
  void OnCreated(HWND__* window);
  void OnFrameTick(bool fromClock, std::uint32_t postedCount);
  void Paint();
  void StartFrameClock();
  void StopFrameClock();
  void ReleaseWindowResources();

  // Input, GraphicsWinInput.cpp. Each reads the position (in units) and the buttons and
  // modifiers of the message, and notes whether it came from pen or touch.
  PointerEvent ReadMouseMessage(std::uintptr_t wParam, std::intptr_t lParam);
  std::intptr_t OnMouseMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  void OnMoveMessage(std::uintptr_t wParam, std::intptr_t lParam);
  void OnWheelMessage(std::uintptr_t wParam, std::intptr_t lParam);
  std::intptr_t OnKeyMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

  void ShowSystemPointer(bool visible) override;
  void ShowSystemCursor(CursorShape shape) override;

  HWND__* window_ = nullptr;
  HWND__* parent_ = nullptr;
  IDropTarget* dropTarget_ = nullptr;
  bool oleInitialised_ = false;
  bool classRegistered_ = false;
  bool closing_ = false;
  bool destroyedByHost_ = false;
  bool systemPointerHidden_ = false;
  bool trackingLeave_ = false;
  const bool vsync_;
  WinFrameClock clock_;
  FramePacer pacer_;
};

}  // namespace plugkit::gfx
