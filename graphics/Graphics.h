#pragma once

// The editor's graphics context: owns the controls, decides what to redraw, routes pointer and
// key events, keeps the editor size and its two scale factors, loads bitmaps and fonts through
// the process-wide caches and offers every drawing operation on a small path interface.
// The drawing backend implements the path interface and bitmap/text drawing; the platform
// layer implements the window operations. The cache operations (LoadBitmap, RescaleBitmap,
// CacheBitmap, UncacheBitmap, LoadFont, LoadVectorImage, ReadResource, FindImageResource,
// FindCachedBitmap, StartLayer, EndLayer and the shared-storage references) are defined
// together with the process-wide caches, beside the drawing backend.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/GraphicsTypes.h"
#include "graphics/Layer.h"
#include "graphics/Matrix.h"
#include "graphics/PlatformFont.h"
#include "graphics/PopupMenu.h"
#include "graphics/Rect.h"

namespace plugkit {
class GraphicsEditorDelegate;
}  // namespace plugkit

namespace plugkit::gfx {

class Control;
enum class ResourceLocation : int;  // where a named resource was found (graphics/Resources.h)

class Graphics {
 public:
  using KeyHandler = std::function<bool(const KeyEvent& key, bool isRelease)>;
  using FrameTickHandler = std::function<void()>;
  using ValueFunction = std::function<double(double x)>;

  static constexpr float kMinScale = 0.5f;
  static constexpr float kMaxScale = 4.0f;
  // Padding around a control's draw rectangle when it is redrawn (anti-aliased edges).
  static constexpr float kDirtyPadding = 0.75f;

  // [main-thread]
  Graphics(GraphicsEditorDelegate& delegate, int width, int height, int frameRate, float drawScale);
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  // ---- Virtual operations, in slot order --------------------------------------------------

  // [main-thread] Start of a frame (a performance display would take its time here).
  virtual void BeginFrame() {}
  // [main-thread]
  virtual void OnWindowCreated() {}
  // [main-thread] Removes every control.
  virtual void OnWindowDestroyed();
  // [main-thread] Presents the finished frame.
  virtual void EndFrame() {}

  // [main-thread] Vector images are never used by this editor; the base draws nothing.
  virtual void DrawVectorImage(const VectorImage& image, const Rect& bounds,
                               const Blend* blend = nullptr);
  virtual void DrawRotatedVectorImage(const VectorImage& image, float cx, float cy, float width,
                                      float height, double angle, const Blend* blend = nullptr);

  // [main-thread] Draws the bitmap into `dest`, taking pixels from (srcX, srcY) in units of
  // the bitmap.
  virtual void DrawBitmap(const Bitmap& bitmap, const Rect& dest, int srcX, int srcY,
                          const Blend* blend = nullptr) = 0;
  virtual void DrawBitmapScaledToFit(const Bitmap& bitmap, const Rect& bounds,
                                     const Blend* blend = nullptr);
  virtual void DrawRotatedBitmap(const Bitmap& bitmap, float cx, float cy, double angle,
                                 const Blend* blend = nullptr);

  virtual void DrawPoint(const Color& color, float x, float y, const Blend* blend = nullptr);
  virtual void DrawLine(const Color& color, float x1, float y1, float x2, float y2,
                        const Blend* blend = nullptr, float thickness = 1.0f);
  virtual void DrawDottedLine(const Color& color, float x1, float y1, float x2, float y2,
                              const Blend* blend = nullptr, float thickness = 1.0f,
                              float dashLength = 2.0f);
  virtual void DrawTriangle(const Color& color, float x1, float y1, float x2, float y2, float x3,
                            float y3, const Blend* blend = nullptr, float thickness = 1.0f);
  virtual void DrawRect(const Color& color, const Rect& bounds, const Blend* blend = nullptr,
                        float thickness = 1.0f);
  virtual void DrawRoundRect(const Color& color, const Rect& bounds, float rTL, float rTR,
                             float rBR, float rBL, const Blend* blend = nullptr,
                             float thickness = 1.0f);
  virtual void DrawRoundRect(const Color& color, const Rect& bounds, float radius = 5.0f,
                             const Blend* blend = nullptr, float thickness = 1.0f);
  virtual void DrawArc(const Color& color, float cx, float cy, float r, float a1, float a2,
                       const Blend* blend = nullptr, float thickness = 1.0f);
  virtual void DrawCircle(const Color& color, float cx, float cy, float r,
                          const Blend* blend = nullptr, float thickness = 1.0f);
  virtual void DrawEllipse(const Color& color, float cx, float cy, float rx, float ry,
                           float angle = 0.0f, const Blend* blend = nullptr,
                           float thickness = 1.0f);
  virtual void DrawEllipse(const Color& color, const Rect& bounds, const Blend* blend = nullptr,
                           float thickness = 1.0f);
  virtual void DrawConvexPolygon(const Color& color, const float* x, const float* y, int count,
                                 const Blend* blend = nullptr, float thickness = 1.0f);
  virtual void DrawDottedRect(const Color& color, const Rect& bounds, const Blend* blend = nullptr,
                              float thickness = 1.0f, float dashLength = 2.0f);

  virtual void FillTriangle(const Color& color, float x1, float y1, float x2, float y2, float x3,
                            float y3, const Blend* blend = nullptr);
  virtual void FillRect(const Color& color, const Rect& bounds, const Blend* blend = nullptr);
  virtual void FillRoundRect(const Color& color, const Rect& bounds, float rTL, float rTR,
                             float rBR, float rBL, const Blend* blend = nullptr);
  virtual void FillRoundRect(const Color& color, const Rect& bounds, float radius = 5.0f,
                             const Blend* blend = nullptr);
  virtual void FillCircle(const Color& color, float cx, float cy, float r,
                          const Blend* blend = nullptr);
  virtual void FillEllipse(const Color& color, float cx, float cy, float rx, float ry,
                           float angle = 0.0f, const Blend* blend = nullptr);
  virtual void FillEllipse(const Color& color, const Rect& bounds, const Blend* blend = nullptr);
  virtual void FillArc(const Color& color, float cx, float cy, float r, float a1, float a2,
                       const Blend* blend = nullptr);
  virtual void FillConvexPolygon(const Color& color, const float* x, const float* y, int count,
                                 const Blend* blend = nullptr);

  // [main-thread] Width of the text (0 for null or empty text); `bounds` becomes the text box.
  virtual float MeasureText(const TextStyle& style, const char* str, Rect& bounds) const;
  virtual void DrawMultiLineText(const TextStyle& style, const char* str, const Rect& bounds,
                                 const Blend* blend = nullptr);

  virtual Color ReadPixel(float x, float y) = 0;
  virtual void* NativeCanvas() const = 0;
  virtual const char* BackendName() const = 0;

  // Process-wide bitmap cache (implemented with the caches).
  virtual Bitmap RescaleBitmap(const Bitmap& bitmap, const std::string& name, int targetScale);
  virtual void CacheBitmap(const Bitmap& bitmap, const std::string& name);
  virtual void UncacheBitmap(const Bitmap& bitmap);

  virtual bool IsImageExtensionSupported(const char* extension) const = 0;
  virtual void DrawDropShadow(const Rect& bounds, float cornerRadius, const Shadow& shadow) {
    (void)bounds, (void)cornerRadius, (void)shadow;
  }

  // Vertical lines every stepX from L + stepX while < R, then horizontal lines likewise
  // (only for steps above 1); one stroke.
  virtual void DrawGrid(const Color& color, const Rect& bounds, float stepX, float stepY,
                        const Blend* blend = nullptr, float thickness = 1.0f);
  // Plots function(x) for x in 0..1 (result 0..1, bottom to top) as one polyline.
  virtual void DrawValuePlot(const Color& color, const Rect& bounds, const ValueFunction& function,
                             int pointCount, const Blend* blend = nullptr, float thickness = 1.0f);

  // Process-wide font cache (implemented with the caches).
  virtual bool LoadFont(const char* fontId, const void* bytes, int size);
  virtual bool LoadFont(const char* fontId, const char* fileOrResourceName);

  // Layers (never shadowed by this editor). ApplyLayerShadow reads the layer's pixels and
  // composites the shadow from them.
  virtual void ApplyLayerShadow(Layer& layer, const Shadow& shadow);
  virtual bool ReadLayerPixels(Layer& layer, std::vector<std::uint8_t>& pixels) {
    (void)layer, (void)pixels;
    return false;
  }
  virtual void CompositeShadow(Layer& layer, const std::vector<std::uint8_t>& mask,
                               const Shadow& shadow) {
    (void)layer, (void)mask, (void)shadow;
  }
  // Makes the innermost open layer (or the main surface) the drawing target.
  virtual void SelectLayerSurface() = 0;

  // Path interface. Angles are degrees clockwise from 12 o'clock.
  virtual void PathClear() = 0;
  virtual void PathClose() = 0;
  virtual void PathArc(float cx, float cy, float r, float a1, float a2,
                       Winding winding = Winding::Clockwise) = 0;
  virtual void PathMoveTo(float x, float y) = 0;
  virtual void PathLineTo(float x, float y) = 0;
  virtual void PathSetWinding(bool clockwise) { (void)clockwise; }
  virtual void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x2, float y2) = 0;
  virtual void PathQuadTo(float cx, float cy, float x2, float y2) = 0;
  virtual void PathStroke(const Color& color, float thickness, const StrokeOptions& options = {},
                          const Blend* blend = nullptr) = 0;
  virtual void PathFill(const Color& color, const FillOptions& options = {},
                        const Blend* blend = nullptr) = 0;

  // [main-thread] Makes `matrix` the transform of everything drawn next.
  virtual void SetTransform(const Matrix& matrix) = 0;
  virtual void EndClipRegion(const Rect& clip) { (void)clip; }
  // Resets the drawing state and clips everything drawn next to `clip`.
  virtual void SetClipRect(const Rect& clip) = 0;

  // ---- Platform operations (the platform layer implements them) ---------------------------

  // [main-thread] Current pointer position in units.
  virtual void GetPointerPosition(float& x, float& y) const = 0;
  // [main-thread] Hides or shows the pointer; with lock it stays in place while hidden.
  virtual void HidePointer(bool hide, bool lock) = 0;
  // [main-thread] Puts the pointer at a position in units.
  virtual void MovePointer(float x, float y) = 0;
  // [main-thread] Shows a standard pointer shape; returns the previous one.
  virtual CursorShape SetCursorShape(CursorShape shape) = 0;
  virtual void CancelTextEntry() {}
  // [main-thread] Creates the native window inside `parent`, applies the screen scale and
  // lays out the editor; returns the native window or null.
  virtual void* OpenWindow(void* parent) = 0;
  // [main-thread] Stops the frame clock, removes every control and destroys the window.
  virtual void CloseWindow() = 0;
  virtual void* NativeWindow() const = 0;
  virtual bool IsWindowOpen() const = 0;
  virtual bool ReadClipboardText(std::string& text) {
    (void)text;
    return false;
  }
  virtual bool WriteClipboardText(const char* text) {
    (void)text;
    return false;
  }
  virtual bool WriteClipboardFilePath(const char* path) {
    (void)path;
    return false;
  }
  virtual void StartFileDrag(const char* path, const Rect& bounds) { (void)path, (void)bounds; }
  virtual MessageBoxResult ShowMessageBox(
      const char* text, const char* title, MessageBoxType type,
      const std::function<void(MessageBoxResult)>& completion = nullptr) = 0;
  // [main-thread] Open or save dialog; `fileName` is empty afterwards when cancelled.
  virtual void ChooseFile(std::string& fileName, std::string& directory, FileAction action,
                          const char* extensions) = 0;
  virtual void ChooseDirectory(std::string& directory) = 0;
  virtual bool ChooseColor(Color& color, const char* title) = 0;
  virtual bool OpenWebAddress(const char* address, const char* title = nullptr,
                              const char* confirmText = nullptr,
                              const char* failureText = nullptr) = 0;
  virtual const char* PlatformName() const = 0;
  virtual bool RevealInFileBrowser(const char* path, bool select) = 0;
  virtual void SetModuleInstance(void* instance) { moduleInstance_ = instance; }
  virtual void* ModuleInstance() const { return moduleInstance_; }
  virtual std::unique_ptr<PlatformFont> LoadSystemFont(const char* fontId, const char* family,
                                                       FontStyle style) = 0;
  virtual std::unique_ptr<PlatformFont> LoadFontData(const char* fontId, const void* bytes,
                                                     int size) = 0;
  virtual std::unique_ptr<PlatformFont> LoadFontFile(const char* fontId,
                                                     const char* fileOrResourceName) = 0;
  // [main-thread] Keeps a platform copy of the font for native text boxes.
  virtual void RegisterPlatformFont(const char* fontId, const PlatformFont& font) = 0;
  virtual const char* BundleId() const { return ""; }
  virtual const char* AppGroupId() const { return ""; }
  virtual void BeginContext() {}
  virtual void EndContext() {}
  virtual void ShowPlatformTextEntry(int paramIndex, const TextStyle& style, const Rect& bounds,
                                     int length, const char* text) = 0;
  // [main-thread] Shows the menu; returns the menu holding the choice (null when none) or,
  // when the platform answers later, sets isAsync and returns null.
  virtual PopupMenu* ShowPlatformMenu(PopupMenu& menu, const Rect& bounds, bool& isAsync) = 0;

  // [main-thread]
  virtual ~Graphics();

  virtual bool SupportsMultiTouch() const { return false; }
  // Device pixels per unit at draw scale 1 as the window sees it.
  virtual float WindowScale() const { return 1.0f; }
  // [main-thread] Makes the native window match the editor's pixel size.
  virtual void ResizeWindow(bool parentHasResized) { (void)parentHasResized; }
  // [main-thread] Rebuilds the drawing surface for the current pixel size.
  virtual void RebuildSurface() = 0;

  // [main-thread] Empties the captured-controls map and shows a hidden pointer again.
  virtual void ReleasePointerCapture();

  // Process-wide bitmap cache. A target scale of 0 means the current total scale.
  virtual Bitmap LoadBitmap(const char* name, const void* bytes, int size, int frameCount,
                            bool framesHorizontal, int targetScale);
  virtual Bitmap LoadBitmap(const char* name, int frameCount = 1, bool framesHorizontal = false,
                            int targetScale = 0);

  virtual VectorImage LoadVectorImage(const char* name, const void* bytes, int size,
                                      const char* units = "px", float dpi = 72.0f);
  virtual VectorImage LoadVectorImage(const char* fileOrResourceName, const char* units = "px",
                                      float dpi = 72.0f);
  // [main-thread] The bytes of a file or embedded resource; empty when not found.
  virtual std::vector<std::uint8_t> ReadResource(const char* name, const char* type);

  virtual void RegisterGesture(GestureType type);
  // Gestures some control handles; a platform with touch input recognises these.
  const std::vector<GestureType>& RegisteredGestures() const { return registeredGestures_; }

  // Backend image and font creation.
  virtual std::unique_ptr<BackendBitmap> DecodeBitmap(const char* name, const void* bytes, int size,
                                                      int scale) = 0;
  virtual std::unique_ptr<BackendBitmap> DecodeBitmap(const char* location, int scale,
                                                      ResourceLocation kind,
                                                      const char* extension) = 0;
  virtual std::unique_ptr<BackendBitmap> CreateSurfaceBitmap(int pixelWidth, int pixelHeight,
                                                             int scale, float drawScale,
                                                             bool cacheable) = 0;
  virtual bool CreateBackendFont(const char* fontId, const PlatformFont& font) = 0;
  virtual int AlphaByteOffset() const = 0;
  virtual bool IsBitmapFlipped() const = 0;

  virtual float BackendMeasureText(const TextStyle& style, const char* str, Rect& bounds) const = 0;
  virtual void BackendDrawText(const TextStyle& style, const char* str, const Rect& bounds,
                               const Blend* blend = nullptr) = 0;
  // Device pixels per unit: draw scale × screen scale.
  virtual float PixelScale() const { return drawScale_ * screenScale_; }

  // ---- Non-virtual drawing operations -----------------------------------------------------

  // Draws frame `frame` (1-based, clamped to the strip) of a film strip into `bounds`.
  void DrawBitmap(const Bitmap& bitmap, const Rect& bounds, int frame,
                  const Blend* blend = nullptr);
  void DrawHorizontalLine(const Color& color, float y, float x1, float x2,
                          const Blend* blend = nullptr, float thickness = 1.0f);
  // A line along `angle` (degrees clockwise from 12 o'clock) between two radii.
  void DrawRadialLine(const Color& color, float cx, float cy, float angle, float rMin, float rMax,
                      const Blend* blend = nullptr, float thickness = 1.0f);
  void DrawText(const TextStyle& style, const char* str, const Rect& bounds,
                const Blend* blend = nullptr);

  // Transform stack; every change is handed to SetTransform.
  void PathTransformSave();
  void PathTransformRestore();
  void PathTransformReset();
  void PathTransformTranslate(float x, float y);
  void PathTransformScale(float x, float y);
  void PathTransformRotate(float degrees);
  const Matrix& Transform() const { return transform_; }

  // ---- Controls ---------------------------------------------------------------------------

  // [main-thread] Takes ownership in every case and returns the control; a control refused
  // because its tag is already in use is destroyed and null is returned.
  Control* AttachControl(Control* control, int tag = -1, const std::string& group = "");
  void AttachCornerResizer(Control* control);
  Control* GetControlWithTag(int tag) const;
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  Control* GetControl(int index) const;
  Control* CornerResizer() const { return cornerResizer_.get(); }
  void RemoveAllControls();
  void ForEachControl(const std::function<void(Control&)>& function) const;
  void SetAllControlsDirty();
  void SetAllControlsClean();
  // Gives value `valueIndex` of `control` to every other control bound to the same parameter.
  void UpdatePeers(Control* control, int valueIndex);
  bool IsCaptured(const Control* control) const;

  // ---- Events from the platform layer, [main-thread] (coordinates in units) ---------------

  void OnMouseDown(const std::vector<PointerEvent>& points);
  void OnMouseUp(const std::vector<PointerEvent>& points);
  void OnMouseDrag(const std::vector<PointerEvent>& points);
  bool OnMouseDblClick(float x, float y, const MouseState& state);
  bool OnMouseOver(float x, float y, const MouseState& state);
  void OnMouseOut();
  bool OnMouseWheel(float x, float y, const MouseState& state, float delta);
  bool OnKeyDown(float x, float y, const KeyEvent& key);
  bool OnKeyUp(float x, float y, const KeyEvent& key);
  void OnDrop(const char* path, float x, float y);
  void OnDropMultiple(const std::vector<std::string>& paths, float x, float y);

  // The control a pointer hits: the control already holding that touch id, else the frontmost
  // visible, enabled, hit control (hover searches skip the background and need hover handling
  // on). With capture the control then holds the touch id until release.
  Control* FindControlAt(float x, float y, bool capture = false, bool mouseOver = false,
                         std::uint64_t touchId = 0);

  // ---- Frame cycle ------------------------------------------------------------------------

  // [main-thread] Collects the padded rectangles of every dirty control.
  bool IsDirty(RectList& rects);
  // [main-thread] Draws the areas (pixel-aligned and without overlaps) and presents them.
  void Draw(RectList& rects);

  // ---- Size and scale ---------------------------------------------------------------------

  // [main-thread] Sizes are constrained by the delegate and the scale clamped, never refused.
  void Resize(int width, int height, float drawScale, bool needsWindowResize);
  void SetScreenScale(float scale);
  // End of a drag resize: controls reload their bitmaps for the new scale.
  void EndResize();
  // [main-thread] The host asks for a pixel size; picks a draw scale reproducing it exactly
  // when one exists.
  void OnHostResizeRequest(int pixelWidth, int pixelHeight);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int FrameRate() const { return frameRate_; }
  float DrawScale() const { return drawScale_; }
  float ScreenScale() const { return screenScale_; }
  float MinScale() const { return minScale_; }
  float MaxScale() const { return maxScale_; }
  ResizeMode GetResizeMode() const { return resizeMode_; }
  void SetResizeMode(ResizeMode mode) { resizeMode_ = mode; }
  bool ResizingInProgress() const { return resizingInProgress_; }
  void SetResizingInProgress(bool resizing) { resizingInProgress_ = resizing; }
  void SetPendingSnapScale(float scale) { pendingSnapScale_ = scale; }
  float PendingSnapScale() const { return pendingSnapScale_; }
  // Shift state of the last drag-resize sample.
  bool ResizeWithShift() const { return resizeWithShift_; }
  void SetResizeWithShift(bool shift) { resizeWithShift_ = shift; }
  bool HandleMouseOver() const { return handleMouseOver_; }
  void SetHandleMouseOver(bool handle) { handleMouseOver_ = handle; }
  CursorShape CurrentCursorShape() const { return cursorShape_; }
  void GetMouseDownPosition(float& x, float& y) const {
    x = mouseDownX_;
    y = mouseDownY_;
  }
  void GetLastPointerPosition(float& x, float& y) const {
    x = lastPointerX_;
    y = lastPointerY_;
  }
  void SetKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }
  void SetFrameTickHandler(FrameTickHandler handler) { frameTickHandler_ = std::move(handler); }
  GraphicsEditorDelegate& Delegate() const { return *delegate_; }
  const Rect& ClipRect() const { return clipRect_; }
  int MouseOverIndex() const { return mouseOverIndex_; }

  // ---- Value prompts ----------------------------------------------------------------------

  // [main-thread] A menu of the parameter's display texts, or a text entry with its value.
  void ShowParamPrompt(Control* control, const Rect& bounds, int valueIndex);
  void ShowPopupMenu(Control& owner, PopupMenu& menu, const Rect& bounds, int valueIndex);
  void ShowTextEntry(Control& owner, const TextStyle& style, const Rect& bounds, const char* text,
                     int valueIndex);
  // [main-thread] The platform reports a committed text entry.
  void SetTextEntryResult(const char* text);
  // [main-thread] The platform reports the choice of a menu shown by ShowPopupMenu.
  void SetControlValueAfterPopupMenu(PopupMenu* menu);

 protected:
  // Process-wide caches used by LoadBitmap (implemented with the caches).
  ResourceLocation FindImageResource(const char* name, const char* extension, std::string& location,
                                     int targetScale, int& sourceScale);
  BackendBitmap* FindCachedBitmap(const char* name, int targetScale, int& foundScale);
  void StartLayer(Control* control, const Rect& bounds, bool cacheable = false);
  std::unique_ptr<Layer> EndLayer();

  // Draws one control clipped to its padded rectangle inside `area`.
  void DrawControl(Control* control, const Rect& area, float scale);

  // State the backend and platform layers read or adjust directly.
  int width_;
  int height_;
  int frameRate_;
  float screenScale_ = 1.0f;
  float drawScale_;
  float minScale_ = kMinScale;
  float maxScale_ = kMaxScale;
  CursorShape cursorShape_ = CursorShape::Arrow;  // last shape set
  bool cursorHidden_ = false;
  bool cursorLocked_ = false;
  bool penInput_ = false;
  float lastPointerX_ = -1.0f;
  float lastPointerY_ = -1.0f;
  Matrix transform_;
  std::vector<Matrix> transformStack_;
  std::vector<std::unique_ptr<Layer>> layers_;

 private:
  // Takes and drops this context's reference on the process-wide storages (bitmaps, vector
  // images, fonts); the last release empties them. Implemented with the caches.
  static void RetainSharedStorages();
  static void ReleaseSharedStorages();

  // The control's context menu at the pointer, when it adds any items.
  void ShowContextMenu(Control& control, float x, float y);
  // The frontmost visible control accepting drops at the point, else the control hit there.
  Control* FindDropTarget(float x, float y);
  bool DispatchKey(float x, float y, const KeyEvent& key, bool isRelease);
  void BeginEditsFor(Control& control);
  void EndEditsFor(Control& control);
  // Destroys every control without calling back into derived layers (safe in the destructor).
  void DestroyControls();
  // Editor pixels at the window scale for a size in units: int(ws × int(units × draw scale)).
  int WindowPixels(int units, float scale) const;
  bool ScaleReproduces(float scale, int pixelWidth, int pixelHeight) const;

  std::vector<std::unique_ptr<Control>> controls_;
  std::unordered_map<int, Control*> tagMap_;
  std::unique_ptr<Control> cornerResizer_;
  std::unordered_map<std::uint64_t, Control*> captured_;
  Control* mouseOver_ = nullptr;
  int mouseOverIndex_ = -1;
  float mouseDownX_ = -1.0f;
  float mouseDownY_ = -1.0f;
  Control* textEntryOwner_ = nullptr;
  int textEntryValueIndex_ = -1;
  Control* popupOwner_ = nullptr;
  int popupValueIndex_ = -1;
  bool popupIsContextMenu_ = false;
  bool handleMouseOver_ = false;
  bool strictDrawing_ = false;
  bool resizingInProgress_ = false;
  bool layoutOnResize_ = false;
  bool multiTouchEnabled_ = false;
  ResizeMode resizeMode_ = ResizeMode::Scale;
  float pendingSnapScale_ = 0.0f;
  bool resizeWithShift_ = false;
  KeyHandler keyHandler_;
  FrameTickHandler frameTickHandler_;
  GraphicsEditorDelegate* delegate_;
  Rect clipRect_;
  void* moduleInstance_ = nullptr;
  PopupMenu promptMenu_;
  std::vector<GestureType> registeredGestures_;
};

}  // namespace plugkit::gfx
