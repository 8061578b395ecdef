#include "editor/ScaleCornerControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "graphics/Graphics.h"

namespace quorvel {

using plugkit::gfx::Color;
using plugkit::gfx::MouseState;
using plugkit::gfx::Rect;

namespace {

constexpr Color kLabelFill{220, 24, 24, 24};
constexpr Color kLabelOutline{220, 255, 255, 255};
// Room above and to the left of the hit square for the label, in screen pixels.
constexpr float kLabelRoom = 72.0f;

}  // namespace

ScaleCornerControl::ScaleCornerControl(const Rect& editor, float size, std::vector<float> steps,
                                       const Color& normalColor, const Color& hoverColor,
                                       const Color& dragColor,
                                       const plugkit::gfx::TextStyle& labelStyle)
    : Control(Rect{editor.R - 2.0f * size + 1.0f, editor.B - 2.0f * size + 1.0f, editor.R - 1.0f,
                   editor.B - 1.0f}),
      size_(size),
      triangle_{editor.R - size + 1.0f, editor.B - size + 1.0f, editor.R - 1.0f, editor.B - 1.0f},
      labelStyle_(labelStyle),
      normalColor_(normalColor),
      hoverColor_(hoverColor),
      dragColor_(dragColor),
      steps_(std::move(steps)) {
  std::sort(steps_.begin(), steps_.end());
}

ScaleCornerControl::~ScaleCornerControl() = default;

float ScaleCornerControl::UnitsPerPixel() const {
  const plugkit::gfx::Graphics* g = GetGraphics();
  return 1.0f / std::max(kScaleTolerance, g ? g->DrawScale() : 1.0f);
}

void ScaleCornerControl::Layout() {
  const plugkit::gfx::Graphics* g = GetGraphics();
  if (!g) return;
  const float u = UnitsPerPixel();
  const float w = static_cast<float>(g->Width());
  const float h = static_cast<float>(g->Height());
  hitArea_ = Rect{w - 2.0f * size_ * u + 1.0f, h - 2.0f * size_ * u + 1.0f, w - 1.0f, h - 1.0f};
  const Rect bounds{hitArea_.L - kLabelRoom * u, hitArea_.T - kLabelRoom * u, w - 1.0f, h - 1.0f};
  SetDrawRect(bounds);
  SetHitRect(bounds);
  triangle_ = Rect{w - size_ * u + 1.0f, h - size_ * u + 1.0f, w - 1.0f, h - 1.0f};
}

void ScaleCornerControl::OnAttached() {
  if (plugkit::gfx::Graphics* g = GetGraphics()) g->SetHandleMouseOver(true);
  Layout();
}

bool ScaleCornerControl::HitTest(float x, float y) const {
  if (hitArea_.Empty()) return false;
  return x >= hitArea_.L && x < hitArea_.R && y >= hitArea_.T && y < hitArea_.B;
}

float ScaleCornerControl::NearestStep(float scale) const {
  float best = std::numeric_limits<float>::max();
  float chosen = scale;
  for (float step : steps_) {
    const float d = std::abs(scale - step);
    if (d < best || (std::abs(d - best) <= kScaleTolerance && step < chosen)) {
      best = d;
      chosen = step;
    }
  }
  return chosen;
}

std::string ScaleCornerControl::LabelText(float scale) const {
  char text[16];
  std::snprintf(text, sizeof text, "%ld%%", std::lround(NearestStep(scale) * 100.0f));
  return text;
}

Rect ScaleCornerControl::LabelBox() const {
  const float u = UnitsPerPixel();
  return Rect{triangle_.L - 66.0f * u, triangle_.T - 28.0f * u, triangle_.L - 8.0f * u,
              triangle_.T - 8.0f * u};
}

void ScaleCornerControl::OnMouseDown(float, float, const MouseState& state) {
  plugkit::gfx::Graphics* g = GetGraphics();
  if (state.R || !g) return;
  startScale_ = g->DrawScale();
  g->SetResizingInProgress(true);
  g->SetResizeWithShift(false);
}

void ScaleCornerControl::OnMouseUp(float, float, const MouseState& state) {
  plugkit::gfx::Graphics* g = GetGraphics();
  if (state.S || !g) return;
  const float a = g->DrawScale();
  if (std::abs(a - startScale_) <= kScaleTolerance) return;
  const float b = NearestStep(a);
  if (std::abs(b - a) > kScaleTolerance) g->SetPendingSnapScale(b);
}

void ScaleCornerControl::OnMouseDblClick(float, float, const MouseState&) {
  plugkit::gfx::Graphics* g = GetGraphics();
  if (!g) return;
  g->SetResizingInProgress(true);
  g->SetResizeWithShift(false);
  g->Resize(g->Width(), g->Height(), 1.0f, true);
  g->EndResize();
}

void ScaleCornerControl::OnMouseOver(float x, float y, const MouseState& state) {
  if (!hovered_) {
    if (plugkit::gfx::Graphics* g = GetGraphics()) {
      previousCursor_ = g->SetCursorShape(plugkit::gfx::CursorShape::SizeNWSE);
    }
    hovered_ = true;
  }
  Control::OnMouseOver(x, y, state);
}

void ScaleCornerControl::OnMouseOut() {
  if (hovered_) {
    if (plugkit::gfx::Graphics* g = GetGraphics()) g->SetCursorShape(previousCursor_);
    hovered_ = false;
  }
  Control::OnMouseOut();
}

void ScaleCornerControl::Draw(plugkit::gfx::Graphics& g) {
  const Color& color =
      g.ResizingInProgress() ? dragColor_ : (IsMouseOver() ? hoverColor_ : normalColor_);
  g.FillTriangle(color, triangle_.L, triangle_.B, triangle_.R, triangle_.T, triangle_.R,
                 triangle_.B);
  if (!g.ResizingInProgress() || g.ResizeWithShift()) return;
  const float a = g.DrawScale();
  if (std::abs(a - startScale_) <= kScaleTolerance) return;
  const float u = UnitsPerPixel();
  const Rect box = LabelBox();
  const std::string text = LabelText(a);
  g.FillRoundRect(kLabelFill, box, 4.0f * u);
  g.DrawRoundRect(kLabelOutline, box, 4.0f * u, nullptr, 1.0f);
  plugkit::gfx::TextStyle style = labelStyle_;
  style.size = 12.0f * u;
  g.DrawText(style, text.c_str(), box);
}

plugkit::gfx::Control* MakeEditorScaleCorner(const Rect& editor) {
  plugkit::gfx::TextStyle label;
  label.SetFontId("Roboto-Regular");
  label.size = 12.0f;
  label.foreground = plugkit::gfx::kColorWhite;
  label.entryBackground = plugkit::gfx::kColorWhite;
  label.entryForeground = plugkit::gfx::kColorBlack;
  label.align = plugkit::gfx::TextAlign::Center;
  label.valign = plugkit::gfx::TextVAlign::Middle;
  return new ScaleCornerControl(editor, 20.0f, {1.0f, 1.25f, 1.5f, 1.75f, 2.0f}, Color{10, 0, 0, 0},
                                Color{255, 0, 0, 0}, Color{255, 0, 0, 0}, label);
}

}  // namespace quorvel
