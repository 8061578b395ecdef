#pragma once

#include <string>
#include <vector>

#include "graphics/Control.h"

namespace quorvel {

// The zoom handle in the editor's lower right corner: dragging it scales the whole editor,
// a plain release snaps to the nearest of a few steps (the label shows which), a Shift
// release keeps the free scale and a double click returns to 100 %. The triangle and the
// label keep their size in screen pixels at every scale.
class ScaleCornerControl : public plugkit::gfx::Control {
 public:
  static constexpr float kScaleTolerance = 0.0001f;

  // [main-thread] `editor` is the editor's rectangle at scale 1; `size` is in screen pixels.
  ScaleCornerControl(const plugkit::gfx::Rect& editor, float size, std::vector<float> steps,
                     const plugkit::gfx::Color& normalColor, const plugkit::gfx::Color& hoverColor,
                     const plugkit::gfx::Color& dragColor,
                     const plugkit::gfx::TextStyle& labelStyle);
  ~ScaleCornerControl() override;

  void OnMouseDown(float x, float y, const plugkit::gfx::MouseState& state) override;
  void OnMouseUp(float x, float y, const plugkit::gfx::MouseState& state) override;
  void OnMouseDblClick(float x, float y, const plugkit::gfx::MouseState& state) override;
  void OnMouseOver(float x, float y, const plugkit::gfx::MouseState& state) override;
  void OnMouseOut() override;
  void OnRescale() override { Layout(); }
  void OnResize() override { Layout(); }
  void OnAttached() override;
  void Draw(plugkit::gfx::Graphics& g) override;
  bool HitTest(float x, float y) const override;

  // The step nearest to `scale` (the smaller of two equally near ones); `scale` itself
  // without steps.
  float NearestStep(float scale) const;
  // "125%" for a scale snapping to 1.25.
  std::string LabelText(float scale) const;
  const plugkit::gfx::Rect& HitArea() const { return hitArea_; }
  const plugkit::gfx::Rect& Triangle() const { return triangle_; }
  // The label box at the current draw scale.
  plugkit::gfx::Rect LabelBox() const;
  const std::vector<float>& Steps() const { return steps_; }

 private:
  void Layout();
  float UnitsPerPixel() const;

  float size_;
  float startScale_ = 1.0f;
  bool hovered_ = false;
  plugkit::gfx::CursorShape previousCursor_ = plugkit::gfx::CursorShape::Arrow;
  plugkit::gfx::Rect hitArea_;
  plugkit::gfx::Rect triangle_;
  plugkit::gfx::TextStyle labelStyle_;
  plugkit::gfx::Color normalColor_;
  plugkit::gfx::Color hoverColor_;
  plugkit::gfx::Color dragColor_;
  std::vector<float> steps_;
};

// The corner control of this editor: size 20, steps 100 % to 200 % in quarters.
plugkit::gfx::Control* MakeEditorScaleCorner(const plugkit::gfx::Rect& editor);

}  // namespace quorvel
