#include "graphics/platform/GraphicsHeadless.h"

#include <algorithm>
#include <cmath>

#include "framework/SaturatingCast.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/platform/PlatformFonts.h"

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
    : GraphicsCairo(delegate, width, height, frameRate, drawScale) {}

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
  // As a window system would: invalidate whole device pixels inside the window, then paint
  // those areas widened to whole units.
  const double scale = PixelScale();
  RectList areas;
  for (const Rect& r : dirty.Rects()) {
    const double l = std::clamp(std::floor(r.L * scale), 0.0, static_cast<double>(SurfaceWidth()));
    const double t = std::clamp(std::floor(r.T * scale), 0.0, static_cast<double>(SurfaceHeight()));
    const double rr = std::clamp(std::ceil(r.R * scale), 0.0, static_cast<double>(SurfaceWidth()));
    const double b = std::clamp(std::ceil(r.B * scale), 0.0, static_cast<double>(SurfaceHeight()));
    if (rr <= l || b <= t) continue;
    areas.Add(
        Rect(static_cast<float>(std::floor(l / scale)), static_cast<float>(std::floor(t / scale)),
             static_cast<float>(std::ceil(rr / scale)), static_cast<float>(std::ceil(b / scale))));
  }
  if (areas.IsEmpty()) return false;
  Draw(areas);
  return true;
}

void GraphicsHeadless::RenderAll() {
  SetAllControlsDirty();
  RenderFrame();
}

void GraphicsHeadless::EndFrame() {
  GraphicsCairo::EndFrame();
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

void GraphicsHeadless::HidePointer(bool hide, bool lock) {
  if (hide == cursorHidden_) return;
  if (hide) {
    hiddenX_ = lastPointerX_;
    hiddenY_ = lastPointerY_;
    cursorHidden_ = true;
    cursorLocked_ = lock && !penInput_;
  } else {
    if (cursorLocked_) MovePointer(hiddenX_, hiddenY_);
    cursorHidden_ = false;
    cursorLocked_ = false;
  }
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

CursorShape GraphicsHeadless::SetCursorShape(CursorShape shape) {
  const CursorShape previous = shownCursor_;
  shownCursor_ = shape;
  return previous;
}

MessageBoxResult GraphicsHeadless::ShowMessageBox(
    const char* text, const char* title, MessageBoxType type,
    const std::function<void(MessageBoxResult)>& completion) {
  (void)text, (void)title, (void)type;
  if (completion) completion(MessageBoxResult::Cancel);
  return MessageBoxResult::Cancel;
}

void GraphicsHeadless::ChooseFile(std::string& fileName, std::string& directory, FileAction action,
                                  const char* extensions) {
  (void)directory, (void)action, (void)extensions;
  fileName.clear();
}

void GraphicsHeadless::ChooseDirectory(std::string& directory) { directory.clear(); }

bool GraphicsHeadless::ChooseColor(Color& color, const char* title) {
  (void)color, (void)title;
  return false;
}

bool GraphicsHeadless::OpenWebAddress(const char* address, const char* title,
                                      const char* confirmText, const char* failureText) {
  (void)address, (void)title, (void)confirmText, (void)failureText;
  return false;
}

bool GraphicsHeadless::RevealInFileBrowser(const char* path, bool select) {
  (void)path, (void)select;
  return false;
}

std::unique_ptr<PlatformFont> GraphicsHeadless::LoadSystemFont(const char* fontId,
                                                               const char* family,
                                                               FontStyle style) {
  (void)fontId, (void)family, (void)style;
  return nullptr;
}

std::unique_ptr<PlatformFont> GraphicsHeadless::LoadFontData(const char* fontId, const void* bytes,
                                                             int size) {
  (void)fontId;
  return MakePlatformFont(bytes, size);
}

std::unique_ptr<PlatformFont> GraphicsHeadless::LoadFontFile(const char* fontId,
                                                             const char* fileOrResourceName) {
  (void)fontId;
  return LoadPlatformFontFile(fileOrResourceName);
}

// Without native text boxes there is nothing to keep a platform font for.
void GraphicsHeadless::RegisterPlatformFont(const char* fontId, const PlatformFont& font) {
  (void)fontId, (void)font;
}

void GraphicsHeadless::ShowPlatformTextEntry(int paramIndex, const TextStyle& style,
                                             const Rect& bounds, int length, const char* text) {
  (void)paramIndex, (void)style, (void)bounds, (void)length, (void)text;
}

PopupMenu* GraphicsHeadless::ShowPlatformMenu(PopupMenu& menu, const Rect& bounds, bool& isAsync) {
  (void)menu, (void)bounds;
  isAsync = false;
  return nullptr;
}

}  // namespace plugkit::gfx
