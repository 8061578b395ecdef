#pragma once

#include "graphics/platform/GraphicsPlatformBase.h"

namespace plugkit::gfx {

// A platform layer without a window: the frame is rendered into the pixel buffer, pointer and
// key events come from the caller through the Graphics entries, and web addresses are not
// opened. Used by tests and tools to drive and look at the editor.
class GraphicsHeadless : public GraphicsPlatformBase {
 public:
  GraphicsHeadless(GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
                   float drawScale);
  ~GraphicsHeadless() override;

  // [main-thread] The screen scale the (imaginary) window reports; applied at the next open or
  // frame tick.
  void SetWindowScale(float scale) { windowScale_ = scale; }

  // [main-thread] One tick of the frame clock: applies a changed window scale, collects the
  // dirty areas and draws them into the pixel buffer. Returns whether anything was drawn.
  bool RenderFrame();
  // [main-thread] Marks every control dirty and renders.
  void RenderAll();
  int FramesPresented() const { return framesPresented_; }

  // [main-thread] Pointer input as a window system delivers it, positions in units: a press
  // captures the pointer until its release; moves with a button down go to the captured
  // control as drags (and snap back while the pointer is locked), other moves are hover.
  void PointerDown(float x, float y, const MouseState& state);
  void PointerUp(float x, float y, const MouseState& state);
  void PointerMove(float x, float y, const MouseState& state);
  void PointerWheel(float x, float y, const MouseState& state, float notches);
  void PointerLeave();
  bool PointerHidden() const { return cursorHidden_; }

  void EndFrame() override;

  void GetPointerPosition(float& x, float& y) const override;
  void MovePointer(float x, float y) override;
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* NativeWindow() const override {
    return open_ ? const_cast<GraphicsHeadless*>(this) : nullptr;
  }
  bool IsWindowOpen() const override { return open_; }
  bool OpenWebAddress(const char* address, const char* title = nullptr,
                      const char* confirmText = nullptr,
                      const char* failureText = nullptr) override;
  const char* PlatformName() const override { return "headless"; }
  float WindowScale() const override { return screenScale_; }

 private:
  bool open_ = false;
  bool pointerCaptured_ = false;
  void* parent_ = nullptr;
  float windowScale_ = 1.0f;
  int framesPresented_ = 0;
};

}  // namespace plugkit::gfx
