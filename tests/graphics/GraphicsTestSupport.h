#pragma once

// A graphics context that records what it is asked to draw instead of drawing, and an editor
// delegate that records the edits reaching it, so that controls and the context can be tested
// without a drawing backend or a window.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Param.h"
#include "graphics/Control.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "tests/graphics/ResourceTableSetup.h"

namespace plugkit::gfx::test {

enum TestParam { kGain = 0, kSteps = 1, kToggle = 2, kMode = 3, kTestParamCount = 4 };

class TestDelegate : public GraphicsEditorDelegate {
 public:
  TestDelegate() : GraphicsEditorDelegate(kTestParamCount) {
    ParamAt(kGain)->DefineDouble("Gain", 0.25, 0.0, 1.0, 0.001);
    ParamAt(kSteps)->DefineInt("Steps", 2, 0, 4);
    ParamAt(kToggle)->DefineBool("Toggle", false);
    ParamAt(kMode)->DefineEnum("Mode", 0, 5);
    SetEditorSizeLimits(263, 2370, 116, 1050);
  }

  void BeginParamEditFromUI(int index) override { log.push_back("begin " + std::to_string(index)); }
  void EndParamEditFromUI(int index) override { log.push_back("end " + std::to_string(index)); }
  void SendParamValueFromUI(int index, double value) override {
    log.push_back("value " + std::to_string(index));
    values.push_back(value);
  }
  bool NotifyEditorResized(int width, int height, bool needsWindowResize) override {
    resized.push_back({width, height, needsWindowResize ? 1 : 0});
    return true;
  }
  void OnEditorOpened() override {
    ++openedCount;
    GraphicsEditorDelegate::OnEditorOpened();
  }

  std::vector<std::string> log;
  std::vector<double> values;
  std::vector<std::vector<int>> resized;
  int openedCount = 0;
};

// One recorded call of the path interface or of the backend's bitmap drawing.
struct Op {
  std::string name;
  std::vector<float> args;
};

class RecordingGraphics : public Graphics {
 public:
  explicit RecordingGraphics(GraphicsEditorDelegate& delegate, float drawScale = 1.0f)
      : Graphics(delegate, 790, 350, 18, drawScale) {}
  ~RecordingGraphics() override { RemoveAllControls(); }

  // Bitmaps LoadBitmap hands out, by resource name.
  void AddBitmap(const Bitmap& bitmap) { bitmaps[bitmap.resourceName] = bitmap; }
  // Ops with the given name, in order.
  std::vector<Op> OpsNamed(const std::string& name) const {
    std::vector<Op> found;
    for (const Op& op : ops) {
      if (op.name == name) found.push_back(op);
    }
    return found;
  }

  void DrawBitmap(const Bitmap&, const Rect& dest, int srcX, int srcY,
                  const Blend* blend) override {
    ops.push_back({"bitmap",
                   {dest.L, dest.T, dest.R, dest.B, static_cast<float>(srcX),
                    static_cast<float>(srcY), blend ? blend->weight : -1.0f}});
  }
  using Graphics::DrawBitmap;

  Color ReadPixel(float, float) override { return {}; }
  void* NativeCanvas() const override { return nullptr; }
  const char* BackendName() const override { return "RECORDING"; }
  bool IsImageExtensionSupported(const char*) const override { return true; }
  void SelectLayerSurface() override {}

  void PathClear() override { ops.push_back({"clear", {}}); }
  void PathClose() override { ops.push_back({"close", {}}); }
  void PathArc(float cx, float cy, float r, float a1, float a2, Winding winding) override {
    ops.push_back({"arc", {cx, cy, r, a1, a2, static_cast<float>(winding)}});
  }
  void PathMoveTo(float x, float y) override { ops.push_back({"move", Mapped(x, y)}); }
  void PathLineTo(float x, float y) override { ops.push_back({"line", Mapped(x, y)}); }
  void PathCubicTo(float, float, float, float, float x2, float y2) override {
    ops.push_back({"cubic", Mapped(x2, y2)});
  }
  void PathQuadTo(float, float, float x2, float y2) override {
    ops.push_back({"quad", Mapped(x2, y2)});
  }
  void PathStroke(const Color&, float thickness, const StrokeOptions& options,
                  const Blend*) override {
    ops.push_back({"stroke",
                   {thickness, static_cast<float>(options.dash.count),
                    options.dash.count > 0 ? options.dash.values[0] : 0.0f}});
  }
  void PathFill(const Color&, const FillOptions& options, const Blend*) override {
    ops.push_back({"fill", {static_cast<float>(options.rule)}});
  }
  void SetTransform(const Matrix& matrix) override { current = matrix; }
  void SetClipRect(const Rect& clip) override {
    ops.push_back({"clip", {clip.L, clip.T, clip.R, clip.B}});
    clips.push_back(clip);
  }

  void GetPointerPosition(float& x, float& y) const override { x = y = 0.0f; }
  void HidePointer(bool hide, bool lock) override {
    hideCalls.push_back({hide, lock});
    cursorHidden_ = hide;
  }
  void MovePointer(float, float) override {}
  CursorShape SetCursorShape(CursorShape shape) override {
    const CursorShape previous = shapeShowing;
    shapeShowing = shape;
    return previous;
  }
  void* OpenWindow(void*) override {
    Delegate().LayoutEditor(*this);
    Delegate().OnEditorOpened();
    windowOpen = true;
    return this;
  }
  void CloseWindow() override {
    RemoveAllControls();
    windowOpen = false;
  }
  void* NativeWindow() const override {
    return windowOpen ? const_cast<RecordingGraphics*>(this) : nullptr;
  }
  bool IsWindowOpen() const override { return windowOpen; }
  MessageBoxResult ShowMessageBox(const char*, const char*, MessageBoxType,
                                  const std::function<void(MessageBoxResult)>&) override {
    return MessageBoxResult::Cancel;
  }
  void ChooseFile(std::string& fileName, std::string&, FileAction, const char*) override {
    fileName.clear();
  }
  void ChooseDirectory(std::string& directory) override { directory.clear(); }
  bool ChooseColor(Color&, const char*) override { return false; }
  bool OpenWebAddress(const char*, const char*, const char*, const char*) override { return false; }
  const char* PlatformName() const override { return "recording"; }
  bool RevealInFileBrowser(const char*, bool) override { return false; }
  std::unique_ptr<PlatformFont> LoadSystemFont(const char*, const char*, FontStyle) override {
    return nullptr;
  }
  std::unique_ptr<PlatformFont> LoadFontData(const char*, const void*, int) override {
    return nullptr;
  }
  std::unique_ptr<PlatformFont> LoadFontFile(const char*, const char*) override { return nullptr; }
  void RegisterPlatformFont(const char*, const PlatformFont&) override {}
  void ShowPlatformTextEntry(int, const TextStyle&, const Rect&, int, const char*) override {}
  PopupMenu* ShowPlatformMenu(PopupMenu&, const Rect&, bool& isAsync) override {
    isAsync = false;
    return nullptr;
  }
  float WindowScale() const override { return windowScale; }
  void RebuildSurface() override { ++surfaceRebuilds; }

  Bitmap LoadBitmap(const char* name, int frameCount, bool framesHorizontal,
                    int targetScale) override {
    loadScales.push_back(targetScale);
    const auto it = bitmaps.find(name ? name : "");
    if (it == bitmaps.end()) return {};
    Bitmap bitmap = it->second;
    bitmap.frameCount = frameCount;
    bitmap.framesHorizontal = framesHorizontal;
    return bitmap;
  }
  using Graphics::LoadBitmap;

  std::unique_ptr<BackendBitmap> DecodeBitmap(const char*, const void*, int, int) override {
    return nullptr;
  }
  std::unique_ptr<BackendBitmap> DecodeBitmap(const char*, int, ResourceLocation,
                                              const char*) override {
    return nullptr;
  }
  std::unique_ptr<BackendBitmap> CreateSurfaceBitmap(int, int, int, float, bool) override {
    return nullptr;
  }
  bool CreateBackendFont(const char*, const PlatformFont&) override { return false; }
  int AlphaByteOffset() const override { return 3; }
  bool IsBitmapFlipped() const override { return false; }
  float BackendMeasureText(const TextStyle&, const char* str, Rect& bounds) const override {
    bounds = Rect{0.0f, 0.0f, 7.0f * static_cast<float>(std::string(str).size()), 14.0f};
    return bounds.W();
  }
  void BackendDrawText(const TextStyle&, const char* str, const Rect&, const Blend*) override {
    ops.push_back({"text", {static_cast<float>(std::string(str).size())}});
  }

  std::vector<Op> ops;
  std::vector<Rect> clips;
  std::vector<std::pair<bool, bool>> hideCalls;
  std::vector<int> loadScales;
  std::map<std::string, Bitmap> bitmaps;
  Matrix current;
  CursorShape shapeShowing = CursorShape::Hand;
  float windowScale = 1.0f;
  int surfaceRebuilds = 0;
  bool windowOpen = false;

 private:
  // Path points are recorded as the backend would see them: through the current transform.
  std::vector<float> Mapped(float x, float y) const {
    current.TransformPoint(x, y);
    return {x, y};
  }
};

// A control that records the events it receives and draws one op naming itself.
class ProbeControl : public Control {
 public:
  explicit ProbeControl(const Rect& bounds, int paramIndex = -1) : Control(bounds, paramIndex) {}

  void Draw(Graphics& g) override {
    ++drawCount;
    g.PathClear();
  }
  void OnMouseDown(float x, float y, const MouseState& state) override {
    events.push_back(state.R ? "down R" : "down");
    Control::OnMouseDown(x, y, state);
  }
  void OnMouseUp(float, float, const MouseState&) override { events.push_back("up"); }
  void OnMouseDrag(float, float, float dX, float dY, const MouseState&) override {
    events.push_back("drag " + std::to_string(static_cast<int>(dX)) + "," +
                     std::to_string(static_cast<int>(dY)));
  }
  void OnMouseDblClick(float x, float y, const MouseState& state) override {
    events.push_back("dblclick");
    Control::OnMouseDblClick(x, y, state);
  }
  void OnMouseWheel(float, float, const MouseState&, float delta) override {
    events.push_back("wheel " + std::to_string(static_cast<int>(delta)));
  }
  bool OnKeyDown(float, float, const KeyEvent& key) override {
    events.push_back("key " + std::to_string(key.virtualKey));
    return handlesKeys;
  }
  void OnDrop(const char* path) override { events.push_back(std::string("drop ") + path); }
  bool AcceptsDrop() const override { return acceptsDrop; }
  void OnMouseOver(float x, float y, const MouseState& state) override {
    events.push_back("over");
    Control::OnMouseOver(x, y, state);
  }
  void OnMouseOut() override {
    if (IsMouseOver()) events.push_back("out");
    Control::OnMouseOut();
  }
  void OnRescale() override { ++rescaleCount; }

  std::vector<std::string> events;
  int drawCount = 0;
  int rescaleCount = 0;
  bool handlesKeys = false;
  bool acceptsDrop = false;
};

inline MouseState LeftButton() {
  MouseState state;
  state.L = true;
  return state;
}

inline MouseState RightButton() {
  MouseState state;
  state.R = true;
  return state;
}

inline PointerEvent At(float x, float y, const MouseState& state, float dX = 0.0f,
                       float dY = 0.0f) {
  return PointerEvent{x, y, dX, dY, state};
}

}  // namespace plugkit::gfx::test
