#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "graphics/GraphicsTypes.h"
#include "graphics/Rect.h"

namespace plugkit {
class GraphicsEditorDelegate;
class Param;
struct MidiMessage;
}  // namespace plugkit

namespace plugkit::gfx {

class Graphics;
class PopupMenu;

enum class Direction : std::int32_t { Vertical = 0, Horizontal = 1 };

// One element of the editor: a rectangle that draws itself, may be bound to parameters (one
// normalized value per binding) and reacts to the events the graphics context routes to it.
// Every operation runs on the editor's thread (the host's main thread).
class Control {
 public:
  using ActionFunction = std::function<void(Control&)>;
  using GestureFunction = std::function<void(Control&, const GestureInfo&)>;

  static constexpr Color kDefaultHighlightColor{255, 255, 0, 0};
  static constexpr int kDefaultTextEntryLength = 7;

  explicit Control(const Rect& bounds, int paramIndex = -1, ActionFunction action = nullptr);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  // Pointer and key events (coordinates in units).
  virtual void OnMouseDown(float x, float y, const MouseState& state);
  virtual void OnMouseUp(float x, float y, const MouseState& state);
  virtual void OnMouseDrag(float x, float y, float dX, float dY, const MouseState& state);
  virtual void OnMouseDblClick(float x, float y, const MouseState& state);
  virtual void OnMouseWheel(float x, float y, const MouseState& state, float delta);
  virtual bool OnKeyDown(float x, float y, const KeyEvent& key);
  virtual bool OnKeyUp(float x, float y, const KeyEvent& key);
  virtual void OnMouseOver(float x, float y, const MouseState& state);
  virtual void OnMouseOut();
  virtual void OnTouchCancelled(float x, float y, const MouseState& state);
  virtual void OnDrop(const char* path);
  virtual void OnDropMultiple(const std::vector<std::string>& paths);
  virtual bool AcceptsDrop() const { return false; }

  // Lifecycle hooks, run by the graphics context.
  virtual void OnRescale() {}
  virtual void OnResize() {}
  virtual void OnInit() {}
  virtual void OnAttached() {}
  virtual void OnMessage(int messageTag, int size, const void* data);
  virtual void OnMidiMessage(const MidiMessage& message);
  virtual bool OnGesture(const GestureInfo& info);
  virtual void FillContextMenu(PopupMenu& menu);
  virtual void OnMenuChoice(PopupMenu* menu, int valueIndex);
  virtual void OnTextEntered(const char* text, int valueIndex);
  virtual void OnContextMenuChoice(int itemIndex);

  virtual void Draw(Graphics& g) = 0;
  virtual void DrawAutomationHighlight(Graphics& g);

  // Binds value `valueIndex` to a parameter; throws std::out_of_range for a missing value.
  virtual void BindParam(int paramIndex, int valueIndex = 0);
  // The value under a point: 0 for a single-value control, else -1.
  virtual int ValueIndexAt(float x, float y) const;
  // A value pushed from the delegate; ignored while a pointer holds this control.
  virtual void ReceiveValue(double value, int valueIndex = 0);
  // A value the user typed or chose; reaches the plug-in.
  virtual void SetValueFromUser(double value, int valueIndex = 0);
  virtual void ResetToDefault(int valueIndex = 0);
  // Stores the value and nothing else.
  virtual void SetValue(double value, int valueIndex = 0);
  virtual void SetTextStyle(const TextStyle& style) { textStyle_ = style; }
  virtual void MoveTo(float x, float y);
  virtual void SetSize(float width, float height);
  virtual void Hide(bool hide);
  virtual void SetDisabled(bool disable);
  virtual void SetMouseTransparent(bool transparent) { mouseTransparent_ = transparent; }
  virtual bool HitTest(float x, float y) const;
  // Clips the values to 0..1 and marks the control for redrawing; with triggerAction the
  // value(s) go to the plug-in and to peers bound to the same parameter.
  virtual void SetDirty(bool triggerAction, int valueIndex = -1);
  virtual void ClearDirty() { dirty_ = false; }
  virtual bool IsDirty() const;
  virtual bool WantsGestures() const;
  // Sets the value(s) from a pointer position inside `bounds` (rounded to 0.001).
  virtual void SetValueFromPointer(float x, float y, Direction direction, const Rect& bounds,
                                   int valueIndex, double scalar = 1.0, double lowerClip = 0.0,
                                   double upperClip = 1.0);
  virtual void OnAnimationEnd();

  // ---- Values -----------------------------------------------------------------------------
  int ValueCount() const { return static_cast<int>(values_.size()); }
  int ParamIndex(int valueIndex = 0) const;
  double Value(int valueIndex = 0) const;
  // The bound parameter, or null when unbound or not a parameter of the plug-in.
  const Param* GetParam(int valueIndex = 0) const;
  // Appends another value entry (controls showing several values).
  void AddValue(int paramIndex);

  // ---- Geometry and flags -----------------------------------------------------------------
  const Rect& DrawRect() const { return drawRect_; }
  const Rect& HitRect() const { return hitRect_; }
  void SetDrawRect(const Rect& r) { drawRect_ = r; }
  void SetHitRect(const Rect& r) { hitRect_ = r; }
  const std::string& Group() const { return group_; }
  void SetGroup(const std::string& group) { group_ = group; }
  const TextStyle& GetTextStyle() const { return textStyle_; }
  const Blend& GetBlend() const { return blend_; }
  void SetBlend(const Blend& blend) { blend_ = blend; }
  int TextEntryLength() const { return textEntryLength_; }
  bool IsHidden() const { return hidden_; }
  bool IsDisabled() const { return disabled_; }
  bool IsMouseTransparent() const { return mouseTransparent_; }
  bool PromptDisabled() const { return promptDisabled_; }
  void SetPromptDisabled(bool disabled) { promptDisabled_ = disabled; }
  bool DoubleClickAsSingle() const { return doubleClickAsSingle_; }
  void SetDoubleClickAsSingle(bool single) { doubleClickAsSingle_ = single; }
  bool HoverWhenDisabled() const { return hoverWhenDisabled_; }
  void SetHoverWhenDisabled(bool hover) { hoverWhenDisabled_ = hover; }
  bool EventsWhenDisabled() const { return eventsWhenDisabled_; }
  void SetEventsWhenDisabled(bool events) { eventsWhenDisabled_ = events; }
  bool WantsMidi() const { return wantsMidi_; }
  void SetWantsMidi(bool wants) { wantsMidi_ = wants; }
  bool AcceptsMultipleTouches() const { return acceptsMultipleTouches_; }
  void SetAcceptsMultipleTouches(bool accepts) { acceptsMultipleTouches_ = accepts; }
  bool ShowParamLabel() const { return showParamLabel_; }
  bool IsMouseOver() const { return mouseIsOver_; }
  const std::string& Tooltip() const { return tooltip_; }
  void SetTooltip(const std::string& text) { tooltip_ = text; }
  void SetHighlighted(bool highlighted, const Color& color = kDefaultHighlightColor);
  Control* Parent() const { return parent_; }
  void SetParent(Control* parent) { parent_ = parent; }

  // ---- Wiring, set by Graphics::AttachControl ---------------------------------------------
  void SetGraphics(Graphics* graphics, GraphicsEditorDelegate* delegate);
  Graphics* GetGraphics() const { return graphics_; }
  GraphicsEditorDelegate* Delegate() const { return delegate_; }

  void SetActionFunction(ActionFunction action) { action_ = std::move(action); }
  void SetAnimation(ActionFunction animation) { animation_ = std::move(animation); }
  void SetAnimationEndFunction(ActionFunction function) { animationEnd_ = std::move(function); }
  const ActionFunction& Animation() const { return animation_; }
  void AttachGestureHandler(GestureType type, GestureFunction function);
  GestureType LastGesture() const { return lastGesture_; }

 protected:
  // Asks the graphics context for a value prompt over the control (right button).
  void PromptForValue(float x, float y);

 private:
  struct ValueEntry {
    int paramIndex;
    double value;
  };

  Rect drawRect_;
  Rect hitRect_;
  std::string group_;
  TextStyle textStyle_;
  Blend blend_;
  int textEntryLength_ = kDefaultTextEntryLength;
  bool dirty_ = true;
  bool hidden_ = false;
  bool disabled_ = false;
  bool promptDisabled_ = true;
  bool doubleClickAsSingle_ = false;
  bool hoverWhenDisabled_ = false;
  bool eventsWhenDisabled_ = false;
  bool mouseTransparent_ = false;
  bool wantsMidi_ = false;
  bool acceptsMultipleTouches_ = false;
  bool showParamLabel_ = false;
  bool mouseIsOver_ = false;
  std::string tooltip_;
  Color highlightColor_ = kDefaultHighlightColor;
  bool highlighted_ = false;
  Control* parent_ = nullptr;
  GraphicsEditorDelegate* delegate_ = nullptr;
  Graphics* graphics_ = nullptr;
  ActionFunction action_;
  ActionFunction animationEnd_;
  ActionFunction animation_;
  std::vector<ValueEntry> values_;
  std::map<GestureType, GestureFunction> gestureHandlers_;
  GestureType lastGesture_ = GestureType::Unknown;
};

}  // namespace plugkit::gfx
