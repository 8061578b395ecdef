#pragma once

#include <array>
#include <memory>

#include "framework/Timer.h"
#include "graphics/platform/GraphicsPlatformBase.h"
#include "graphics/platform/X11Translate.h"

// Xlib's types, declared here so that its macros stay out of every file that includes this.
struct _XDisplay;
union _XEvent;

namespace plugkit::gfx {

class X11Presenter;

// The editor as a child of a host's X11 window. It keeps its own display connection, so it
// never disturbs the host's, and runs everything on the host's main thread: a host timer of
// about 60 Hz reads the pending X events and then draws and presents the dirty areas.
class GraphicsX11 : public GraphicsPlatformBase {
 public:
  static constexpr uint32_t kFrameIntervalMs = 16;

  // `timers` makes the frame clock; it must outlive the open window.
  GraphicsX11(GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
              float drawScale, TimerHost& timers);
  ~GraphicsX11() override;

  // [main-thread] `parent` is the host's X11 window id. Null when no display connection or
  // window could be made.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* NativeWindow() const override;
  bool IsWindowOpen() const override { return window_ != 0; }
  float WindowScale() const override { return windowScale_; }
  void ResizeWindow(bool parentHasResized) override;
  void RebuildSurface() override;

  // [main-thread] One tick of the frame clock: pending X events, a changed screen scale, then
  // the dirty areas drawn and presented.
  void OnFrameTick();

  void GetPointerPosition(float& x, float& y) const override;
  void MovePointer(float x, float y) override;
  // Starts xdg-open with the address as its one argument; true when it started.
  bool OpenWebAddress(const char* address, const char* title = nullptr,
                      const char* confirmText = nullptr,
                      const char* failureText = nullptr) override;
  const char* PlatformName() const override { return "x11"; }

  bool PresentsThroughSharedMemory() const;

 private:
  static constexpr int kCursorShapes = 14;

  // X ids (windows, cursors) are unsigned long.
  using XId = unsigned long;

  void HandleEvent(_XEvent& event);
  void OnButton(const _XEvent& event, bool press);
  void OnMotion(const _XEvent& event);
  void OnKey(_XEvent& event, bool press);
  MouseState StateOf(unsigned int modifiers, unsigned int extraButton = 0) const;
  // Copies the areas (in units) of the drawn frame to the window.
  void Present(const RectList& areas);
  // Puts the window's exposed pixels back from the current frame.
  void PresentExposed(const _XEvent& event);
  void ShowSystemPointer(bool visible) override;
  void ShowSystemCursor(CursorShape shape) override;
  XId CursorFor(CursorShape shape);

  TimerHost& timers_;
  std::unique_ptr<Timer> frameClock_;
  _XDisplay* display_ = nullptr;
  XId window_ = 0;
  XId parent_ = 0;
  XId topLevel_ = 0;
  std::unique_ptr<X11Presenter> presenter_;
  DoubleClickDetector doubleClick_;
  std::array<XId, kCursorShapes> cursors_{};
  XId invisibleCursor_ = 0;
  float windowScale_ = 1.0f;
  bool captured_ = false;
};

}  // namespace plugkit::gfx
