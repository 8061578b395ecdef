#include "graphics/Graphics.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "framework/Param.h"
#include "framework/SaturatingCast.h"
#include "graphics/Control.h"
#include "graphics/GraphicsEditorDelegate.h"

namespace plugkit::gfx {

Graphics::Graphics(GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
                   float drawScale)
    : width_(width),
      height_(height),
      frameRate_(frameRate),
      drawScale_(std::isnan(drawScale) ? 1.0f : std::clamp(drawScale, kMinScale, kMaxScale)),
      delegate_(&delegate) {
  RetainSharedStorages();
}

Graphics::~Graphics() {
  DestroyControls();
  ReleaseSharedStorages();
}

void Graphics::OnWindowDestroyed() { RemoveAllControls(); }

// ---- Controls -------------------------------------------------------------------------------

Control* Graphics::AttachControl(Control* control, int tag, const std::string& group) {
  if (!control) return nullptr;
  if (tag >= 0 && !tagMap_.emplace(tag, control).second) {
    // Refused controls are destroyed so that `AttachControl(new X(...), tag)` never leaks.
    delete control;
    return nullptr;
  }
  control->SetGraphics(this, delegate_);
  control->OnInit();
  control->OnResize();
  control->OnRescale();
  control->SetGroup(group);
  controls_.emplace_back(control);
  control->OnAttached();
  return control;
}

void Graphics::AttachCornerResizer(Control* control) {
  cornerResizer_.reset(control);
  if (!control) return;
  control->SetGraphics(this, delegate_);
  control->OnInit();
  control->OnResize();
  control->OnRescale();
  control->OnAttached();
}

Control* Graphics::GetControlWithTag(int tag) const {
  const auto it = tagMap_.find(tag);
  return it == tagMap_.end() ? nullptr : it->second;
}

Control* Graphics::GetControl(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return controls_[static_cast<std::size_t>(index)].get();
}

void Graphics::RemoveAllControls() {
  ReleasePointerCapture();
  DestroyControls();
}

void Graphics::DestroyControls() {
  captured_.clear();
  mouseOver_ = nullptr;
  mouseOverIndex_ = -1;
  textEntryOwner_ = nullptr;
  popupOwner_ = nullptr;
  cornerResizer_.reset();
  tagMap_.clear();
  while (!controls_.empty()) controls_.pop_back();
}

void Graphics::ForEachControl(const std::function<void(Control&)>& function) const {
  for (const auto& control : controls_) function(*control);
  if (cornerResizer_) function(*cornerResizer_);
}

void Graphics::SetAllControlsDirty() {
  ForEachControl([](Control& c) { c.SetDirty(false, -1); });
}

void Graphics::SetAllControlsClean() {
  ForEachControl([](Control& c) { c.ClearDirty(); });
}

void Graphics::UpdatePeers(Control* control, int valueIndex) {
  if (!control) return;
  const int param = control->ParamIndex(valueIndex);
  if (param < 0) return;
  const double value = control->Value(valueIndex);
  for (const auto& peer : controls_) {
    if (peer.get() == control) continue;
    for (int j = 0; j < peer->ValueCount(); ++j) {
      if (peer->ParamIndex(j) == param) {
        peer->ReceiveValue(value, j);
        break;
      }
    }
  }
}

bool Graphics::IsCaptured(const Control* control) const {
  for (const auto& entry : captured_) {
    if (entry.second == control) return true;
  }
  return false;
}

// ---- Events -----------------------------------------------------------------------------

Control* Graphics::FindControlAt(float x, float y, bool capture, bool mouseOver,
                                 std::uint64_t touchId) {
  if (!captured_.empty()) {
    const auto it = captured_.find(touchId);
    if (it != captured_.end()) return it->second;
  }
  Control* found = nullptr;
  int foundIndex = -1;
  if (cornerResizer_ && cornerResizer_->DrawRect().ContainsPoint(x, y)) {
    found = cornerResizer_.get();
  } else if (!mouseOver || handleMouseOver_) {
    const int lowest = mouseOver ? 1 : 0;
    for (int i = ControlCount() - 1; i >= lowest; --i) {
      Control* c = controls_[static_cast<std::size_t>(i)].get();
      if (c->IsHidden() || c->IsMouseTransparent()) continue;
      if (c->IsDisabled() && !(mouseOver ? c->HoverWhenDisabled() : c->EventsWhenDisabled()))
        continue;
      if (c->HitTest(x, y)) {
        found = c;
        foundIndex = i;
        break;
      }
    }
  }
  if (capture && found) {
    if (multiTouchEnabled_ && IsCaptured(found) && !found->AcceptsMultipleTouches()) return nullptr;
    captured_.emplace(touchId, found);
  }
  if (mouseOver) mouseOverIndex_ = foundIndex;
  return found;
}

void Graphics::BeginEditsFor(Control& control) {
  for (int i = 0; i < control.ValueCount(); ++i) {
    if (control.GetParam(i)) delegate_->BeginParamEditFromUI(control.ParamIndex(i));
  }
}

void Graphics::EndEditsFor(Control& control) {
  for (int i = 0; i < control.ValueCount(); ++i) {
    if (control.GetParam(i)) delegate_->EndParamEditFromUI(control.ParamIndex(i));
  }
}

void Graphics::OnMouseDown(const std::vector<PointerEvent>& points) {
  if (points.size() == 1) {
    mouseDownX_ = points.front().x;
    mouseDownY_ = points.front().y;
  }
  for (const PointerEvent& p : points) {
    Control* c = FindControlAt(p.x, p.y, true, false, p.state.touchId);
    if (!c) continue;
    const int valueIndex = std::max(0, c->ValueIndexAt(p.x, p.y));
    if (p.state.R && c->GetParam(valueIndex)) {
      ReleasePointerCapture();
      ShowContextMenu(*c, p.x, p.y);
      return;
    }
    BeginEditsFor(*c);
    c->OnMouseDown(p.x, p.y, p.state);
  }
}

void Graphics::OnMouseUp(const std::vector<PointerEvent>& points) {
  if (!captured_.empty()) {
    for (const PointerEvent& p : points) {
      const auto it = captured_.find(p.state.touchId);
      if (it == captured_.end()) continue;
      Control* c = it->second;
      c->OnMouseUp(p.x, p.y, p.state);
      EndEditsFor(*c);
      captured_.erase(p.state.touchId);
    }
  }
  if (resizingInProgress_) {
    EndResize();
    resizeWithShift_ = false;
  }
  if (pendingSnapScale_ > 0.0f) {
    const float scale = pendingSnapScale_;
    pendingSnapScale_ = 0.0f;
    resizingInProgress_ = true;
    resizeWithShift_ = false;
    Resize(width_, height_, scale, true);
    EndResize();
  }
  if (points.size() == 1 && points.front().state.touchId == 0) {
    OnMouseOver(points.front().x, points.front().y, points.front().state);
  }
}

void Graphics::OnMouseDrag(const std::vector<PointerEvent>& points) {
  if (resizingInProgress_ && points.size() == 1) {
    const PointerEvent& p = points.front();
    resizeWithShift_ = p.state.S;
    if (resizeMode_ == ResizeMode::Scale) {
      // The press-time scale times the ratio of the current to the press-time pointer
      // distance from the window origin.
      Resize(width_, height_,
             std::min(drawScale_ * p.y / mouseDownY_, drawScale_ * p.x / mouseDownX_), true);
    } else {
      Resize(SaturateTruncate<int>(p.x), SaturateTruncate<int>(p.y), drawScale_, true);
    }
    return;
  }
  if (captured_.empty()) return;
  if (textEntryOwner_) return;  // a platform edit box has the input
  for (const PointerEvent& p : points) {
    const auto it = captured_.find(p.state.touchId);
    if (it == captured_.end()) continue;
    if (p.dX != 0.0f || p.dY != 0.0f) it->second->OnMouseDrag(p.x, p.y, p.dX, p.dY, p.state);
  }
}

bool Graphics::OnMouseDblClick(float x, float y, const MouseState& state) {
  Control* c = FindControlAt(x, y, true);
  if (!c) return false;
  if (c->DoubleClickAsSingle()) {
    OnMouseDown({PointerEvent{x, y, 0.0f, 0.0f, state}});
  } else {
    c->OnMouseDblClick(x, y, state);
    ReleasePointerCapture();
  }
  return true;
}

bool Graphics::OnMouseOver(float x, float y, const MouseState& state) {
  Control* c = FindControlAt(x, y, false, true);
  if (c != mouseOver_) {
    if (mouseOver_) mouseOver_->OnMouseOut();
    mouseOver_ = c;
  }
  if (c) c->OnMouseOver(x, y, state);
  return c != nullptr;
}

void Graphics::OnMouseOut() {
  // Remember the shape that was showing; it comes back with the pointer.
  cursorShape_ = SetCursorShape(CursorShape::Arrow);
  ForEachControl([](Control& c) { c.OnMouseOut(); });
  mouseOver_ = nullptr;
  mouseOverIndex_ = -1;
}

bool Graphics::OnMouseWheel(float x, float y, const MouseState& state, float delta) {
  Control* c = FindControlAt(x, y);
  if (c) c->OnMouseWheel(x, y, state, delta);
  return c != nullptr;
}

bool Graphics::DispatchKey(float x, float y, const KeyEvent& key, bool isRelease) {
  Control* c = FindControlAt(x, y);
  if (c && c != GetControl(0)) {
    const bool handled = isRelease ? c->OnKeyUp(x, y, key) : c->OnKeyDown(x, y, key);
    if (handled) return true;
  }
  return keyHandler_ ? keyHandler_(key, isRelease) : false;
}

bool Graphics::OnKeyDown(float x, float y, const KeyEvent& key) {
  return DispatchKey(x, y, key, false);
}

bool Graphics::OnKeyUp(float x, float y, const KeyEvent& key) {
  return DispatchKey(x, y, key, true);
}

Control* Graphics::FindDropTarget(float x, float y) {
  for (int i = ControlCount() - 1; i >= 0; --i) {
    Control* c = controls_[static_cast<std::size_t>(i)].get();
    if (!c->IsHidden() && c->AcceptsDrop() && c->HitTest(x, y)) return c;
  }
  return FindControlAt(x, y);
}

void Graphics::OnDrop(const char* path, float x, float y) {
  if (Control* c = FindDropTarget(x, y)) c->OnDrop(path);
}

void Graphics::OnDropMultiple(const std::vector<std::string>& paths, float x, float y) {
  if (Control* c = FindDropTarget(x, y)) c->OnDropMultiple(paths);
}

void Graphics::ReleasePointerCapture() {
  captured_.clear();
  if (cursorHidden_) HidePointer(false, true);
}

void Graphics::RegisterGesture(GestureType type) {
  if (std::find(registeredGestures_.begin(), registeredGestures_.end(), type) ==
      registeredGestures_.end()) {
    registeredGestures_.push_back(type);
  }
}

// ---- Frame cycle --------------------------------------------------------------------------

bool Graphics::IsDirty(RectList& rects) {
  if (frameTickHandler_) frameTickHandler_();
  ForEachControl([](Control& c) {
    // A copy: the animation may end itself and clear the control's function.
    if (Control::ActionFunction animation = c.Animation()) animation(c);
  });
  bool dirty = false;
  ForEachControl([&](Control& c) {
    if (!c.IsDirty()) return;
    Rect r = c.DrawRect().Padded(kDirtyPadding);
    if (const Control* parent = c.Parent())
      r = r.ConstrainedTo(parent->DrawRect().Padded(kDirtyPadding));
    rects.Add(r);
    dirty = true;
  });
  return dirty;
}

void Graphics::Draw(RectList& rects) {
  if (rects.IsEmpty()) return;
  const float scale = PixelScale();
  BeginFrame();
  const auto drawArea = [&](const Rect& area) {
    ForEachControl([&](Control& c) { DrawControl(&c, area, scale); });
  };
  if (strictDrawing_) {
    drawArea(rects.Bounds().PixelAligned(scale));
  } else {
    rects.PixelAlign(scale);
    rects.Optimize();
    for (const Rect& area : rects.Rects()) drawArea(area);
  }
  EndFrame();
}

void Graphics::DrawControl(Control* control, const Rect& area, float scale) {
  if (!control) return;
  if (control->IsHidden() && control != GetControl(0)) return;
  Rect clip = control->DrawRect().PaddedPixelAligned(kDirtyPadding, scale).Intersect(area);
  if (clip.Empty() || clip.W() <= 0.0f || clip.H() <= 0.0f) return;
  for (const Control* p = control->Parent(); p; p = p->Parent()) {
    const Rect bounds = p->DrawRect().PaddedPixelAligned(kDirtyPadding, scale);
    if (!bounds.Intersects(clip)) return;
    clip = clip.ConstrainedTo(bounds);
  }
  transformStack_.clear();
  PathTransformReset();
  PathClear();
  SetClipRect(clip);
  clipRect_ = clip;
  control->Draw(*this);
  EndClipRegion(clip);
}

// ---- Size and scale -------------------------------------------------------------------------

int Graphics::WindowPixels(int units, float scale) const {
  const int scaled = SaturateTruncate<int>(static_cast<float>(units) * scale);
  return SaturateTruncate<int>(WindowScale() * static_cast<float>(scaled));
}

void Graphics::Resize(int width, int height, float drawScale, bool needsWindowResize) {
  delegate_->ConstrainEditorSize(width, height);
  if (std::isnan(drawScale)) drawScale = drawScale_;
  drawScale = std::clamp(drawScale, minScale_, maxScale_);
  if (width == width_ && height == height_ && drawScale == drawScale_) return;
  if (!resizingInProgress_) ReleasePointerCapture();
  width_ = width;
  drawScale_ = drawScale;
  height_ = height;
  if (cornerResizer_) cornerResizer_->OnRescale();
  const bool parentResized = delegate_->NotifyEditorResized(
      WindowPixels(width_, drawScale_), WindowPixels(height_, drawScale_), needsWindowResize);
  ResizeWindow(parentResized);
  ForEachControl([](Control& c) { c.OnResize(); });
  SetAllControlsDirty();
  RebuildSurface();
}

void Graphics::SetScreenScale(float scale) {
  // A zero, negative or non-finite scale would make every unit conversion meaningless.
  if (!(scale > 0.0f) || !std::isfinite(scale)) return;
  screenScale_ = scale;
  const bool parentResized = delegate_->NotifyEditorResized(
      WindowPixels(width_, drawScale_), WindowPixels(height_, drawScale_), true);
  ResizeWindow(parentResized);
  ForEachControl([](Control& c) { c.OnRescale(); });
  SetAllControlsDirty();
  RebuildSurface();
}

void Graphics::EndResize() {
  resizingInProgress_ = false;
  if (resizeMode_ == ResizeMode::Size) {
    if (cornerResizer_) cornerResizer_->SetDirty(false);
    return;
  }
  ForEachControl([](Control& c) { c.OnRescale(); });
  SetAllControlsDirty();
}

bool Graphics::ScaleReproduces(float scale, int pixelWidth, int pixelHeight) const {
  if (std::clamp(scale, minScale_, maxScale_) != scale) return false;
  return WindowPixels(width_, scale) == pixelWidth && WindowPixels(height_, scale) == pixelHeight;
}

void Graphics::OnHostResizeRequest(int pixelWidth, int pixelHeight) {
  const float ws = WindowScale();
  const float fw = static_cast<float>(pixelWidth) / ws;
  const float fh = static_cast<float>(pixelHeight) / ws;
  if (resizeMode_ == ResizeMode::Size || (!cornerResizer_ && layoutOnResize_)) {
    Resize(SaturateTruncate<int>(fw), SaturateTruncate<int>(fh), 1.0f, false);
    return;
  }
  if (ScaleReproduces(drawScale_, pixelWidth, pixelHeight)) return;
  // Raise the request to whole units that still give the asked pixels at this window scale.
  const auto wholeUnits = [ws](float units, int pixels) {
    int r = SaturateTruncate<int>(std::ceil(units));
    if (SaturateTruncate<int>(static_cast<float>(r - 1) * ws) == pixels) {
      --r;
    } else if (SaturateTruncate<int>(static_cast<float>(r) * ws) < pixels) {
      ++r;
    }
    return r;
  };
  const int r = wholeUnits(fw, pixelWidth);
  const int u = wholeUnits(fh, pixelHeight);
  const float candidate = std::clamp(std::max(static_cast<float>(r) / static_cast<float>(width_),
                                              static_cast<float>(u) / static_cast<float>(height_)),
                                     minScale_, maxScale_);
  float taken = candidate;
  if (!ScaleReproduces(taken, pixelWidth, pixelHeight)) {
    const float below = std::nextafter(candidate, 0.0f);
    taken = ScaleReproduces(below, pixelWidth, pixelHeight)
                ? below
                : std::nextafter(candidate, maxScale_ * 2.0f);
  }
  if (ScaleReproduces(taken, pixelWidth, pixelHeight)) {
    Resize(width_, height_, taken, false);
  } else {
    Resize(SaturateTruncate<int>(fw), SaturateTruncate<int>(fh), 1.0f, false);
  }
}

// ---- Value prompts --------------------------------------------------------------------------

void Graphics::ShowParamPrompt(Control* control, const Rect& bounds, int valueIndex) {
  if (!control) return;
  const Param* param = control->GetParam(valueIndex);
  if (!param) return;
  const bool menu = param->Type() == ParamType::Enum ||
                    (param->Type() == ParamType::Bool && param->DisplayTextCount() > 0);
  if (menu) {
    promptMenu_.Clear();
    const double current = param->Clamp(param->Denormalize(control->Value(valueIndex)));
    double value = 0.0;
    std::string text;
    for (int i = 0; param->DisplayTextAt(i, value, text); ++i)
      promptMenu_.AddItem(text, value == current);
    ShowPopupMenu(*control, promptMenu_, bounds, valueIndex);
    return;
  }
  std::string text = param->FormatValue(control->Value(valueIndex), true);
  if (control->ShowParamLabel()) text += param->UnitLabel();
  ShowTextEntry(*control, control->GetTextStyle(), bounds, text.c_str(), valueIndex);
}

void Graphics::ShowContextMenu(Control& control, float x, float y) {
  promptMenu_.Clear();
  control.FillContextMenu(promptMenu_);
  if (promptMenu_.ItemCount() == 0) return;
  popupIsContextMenu_ = true;
  ShowPopupMenu(control, promptMenu_, Rect{x, y, x, y}, -1);
}

void Graphics::ShowPopupMenu(Control& owner, PopupMenu& menu, const Rect& bounds, int valueIndex) {
  ReleasePointerCapture();
  popupOwner_ = &owner;
  popupValueIndex_ = valueIndex;
  bool isAsync = false;
  PopupMenu* chosen = ShowPlatformMenu(menu, bounds, isAsync);
  if (!isAsync) SetControlValueAfterPopupMenu(chosen);
}

void Graphics::SetControlValueAfterPopupMenu(PopupMenu* menu) {
  Control* owner = popupOwner_;
  if (!owner) return;
  if (popupIsContextMenu_) {
    owner->OnContextMenuChoice(menu ? menu->ChosenIndex() : -1);
  } else {
    owner->OnMenuChoice(menu, popupValueIndex_);
  }
  EndEditsFor(*owner);
  popupOwner_ = nullptr;
  popupValueIndex_ = -1;
  popupIsContextMenu_ = false;
}

void Graphics::ShowTextEntry(Control& owner, const TextStyle& style, const Rect& bounds,
                             const char* text, int valueIndex) {
  textEntryOwner_ = &owner;
  textEntryValueIndex_ = valueIndex;
  const int paramIndex = owner.GetParam(valueIndex) ? owner.ParamIndex(valueIndex) : -1;
  ShowPlatformTextEntry(paramIndex, style, bounds, owner.TextEntryLength(), text);
}

void Graphics::SetTextEntryResult(const char* text) {
  Control* owner = textEntryOwner_;
  if (!owner) return;
  const int valueIndex = textEntryValueIndex_;
  textEntryOwner_ = nullptr;
  textEntryValueIndex_ = -1;
  if (const Param* param = owner->GetParam(valueIndex)) {
    owner->SetValueFromUser(param->Normalize(param->ParseText(text ? text : "")), valueIndex);
  } else {
    owner->OnTextEntered(text ? text : "", valueIndex);
  }
}

}  // namespace plugkit::gfx
