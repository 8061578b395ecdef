#include "graphics/platform/GraphicsHeadless.h"

#include <cmath>

#include "framework/SaturatingCast.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/platform/WindowAreas.h"

namespace plugkit::gfx {
namespace {

// Window scales are whole numbers, as the platform rounds the display's DPI ratio.
float WholeScale(float scale) {
  const float rounded = std::round(scale);
  return std::isfinite(rounded) && rounded >= 1.0f ? rounded : 1.0f;
}

}  // namespace

GraphicsHeadless::GraphicsHeadless(GraphicsEditorDelegate& delegate, int width, int height,
                                   int frameRate, float drawScale)
    : GraphicsPlatformBase(delegate, width, height, frameRate, drawScale) {}

GraphicsHeadless::~GraphicsHeadless() { CloseWindow(); }

void* GraphicsHeadless::OpenWindow(void* parent) {
  if (open_) CloseWindow();
  parent_ = parent;
  open_ = true;
  OnWindowCreated();
  SetScreenScale(WholeScale(windowScale_));
  Delegate().LayoutEditor(*this);
  SetAllControlsDirty();
  Delegate().OnEditorOpened();
  return NativeWindow();
}

void GraphicsHeadless::CloseWindow() {
  if (!open_) return;
  BeginContext();
  RemoveAllControls();
  EndContext();
  open_ = false;
  parent_ = nullptr;
}

bool GraphicsHeadless::RenderFrame() {
  if (!open_) return false;
  if (WholeScale(windowScale_) != screenScale_) SetScreenScale(WholeScale(windowScale_));
  RectList dirty;
  if (!IsDirty(dirty)) return false;
  SetAllControlsClean();
  // As a window system would: repaint whole device pixels, widened to whole units.
  RectList areas = WindowAreas(dirty, PixelScale(), SurfaceWidth(), SurfaceHeight());
  if (areas.IsEmpty()) return false;
  Draw(areas);
  return true;
}

void GraphicsHeadless::RenderAll() {
  SetAllControlsDirty();
  RenderFrame();
}

void GraphicsHeadless::EndFrame() {
  GraphicsPlatformBase::EndFrame();
  ++framesPresented_;
}

void GraphicsHeadless::PointerDown(float x, float y, const MouseState& state) {
  lastPointerX_ = x;
  lastPointerY_ = y;
  pointerCaptured_ = true;
  OnMouseDown({PointerEvent{x, y, 0.0f, 0.0f, state}});
}

void GraphicsHeadless::PointerUp(float x, float y, const MouseState& state) {
  lastPointerX_ = x;
  lastPointerY_ = y;
  pointerCaptured_ = false;
  OnMouseUp({PointerEvent{x, y, 0.0f, 0.0f, state}});
}

void GraphicsHeadless::PointerMove(float x, float y, const MouseState& state) {
  if (pointerCaptured_ && (state.L || state.R)) {
    const float dX = x - lastPointerX_;
    const float dY = y - lastPointerY_;
    lastPointerX_ = x;
    lastPointerY_ = y;
    if (dX != 0.0f || dY != 0.0f) OnMouseDrag({PointerEvent{x, y, dX, dY, state}});
    // A locked pointer never wanders off: it goes back to where it was hidden.
    if (cursorLocked_) MovePointer(hiddenX_, hiddenY_);
    return;
  }
  lastPointerX_ = x;
  lastPointerY_ = y;
  OnMouseOver(x, y, state);
}

void GraphicsHeadless::PointerWheel(float x, float y, const MouseState& state, float notches) {
  lastPointerX_ = x;
  lastPointerY_ = y;
  OnMouseWheel(x, y, state, notches);
}

void GraphicsHeadless::PointerLeave() { OnMouseOut(); }

void GraphicsHeadless::GetPointerPosition(float& x, float& y) const {
  GetLastPointerPosition(x, y);
}

void GraphicsHeadless::MovePointer(float x, float y) {
  if (penInput_) return;
  // The pointer lands on a whole device pixel.
  const double scale = PixelScale();
  if (!(scale > 0.0)) return;
  const float px = static_cast<float>(SaturateRound<int>(x * scale) / scale);
  const float py = static_cast<float>(SaturateRound<int>(y * scale) / scale);
  lastPointerX_ = hiddenX_ = px;
  lastPointerY_ = hiddenY_ = py;
}

bool GraphicsHeadless::OpenWebAddress(const char* address, const char* title,
                                      const char* confirmText, const char* failureText) {
  (void)address, (void)title, (void)confirmText, (void)failureText;
  return false;
}

}  // namespace plugkit::gfx
