#pragma once

#include <functional>
#include <memory>

#include "framework/EditorDelegateBase.h"

namespace plugkit {

namespace gfx {
class Graphics;
}

// The editor delegate with a graphics context: owns at most one gfx::Graphics while the
// editor is open and remembers its size and draw scale between openings. Every operation
// falls back to the plain delegate behaviour while no graphics context exists.
class GraphicsEditorDelegate : public EditorDelegateBase {
 public:
  using MakeGraphicsFunction = std::function<std::unique_ptr<gfx::Graphics>(GraphicsEditorDelegate&)>;
  using LayoutFunction = std::function<void(gfx::Graphics&)>;

  explicit GraphicsEditorDelegate(int paramCount);
  ~GraphicsEditorDelegate() override;

  // [main-thread] Set by the effect's constructor.
  void SetMakeGraphicsFunction(MakeGraphicsFunction function) { mMakeGraphics = std::move(function); }
  void SetLayoutFunction(LayoutFunction function) { mLayout = std::move(function); }

  // [main-thread] Runs the make-graphics function; null without one.
  virtual std::unique_ptr<gfx::Graphics> CreateGraphics();
  // [main-thread] Runs the layout function on a new graphics context.
  virtual void LayoutEditor(gfx::Graphics& graphics);
  // The open editor's graphics context, null while closed.
  gfx::Graphics* GetGraphics() const { return mGraphics.get(); }

  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void OnHostResizeRequest(int pixelWidth, int pixelHeight) override;
  void SetScreenScale(float scale) override;
  void SendParamValueToUI(int index, double value, bool normalized) override;
  void SendControlValueToUI(int tag, double normalizedValue) override;
  void SendControlMessageToUI(int tag, int messageTag, int size, const void* bytes) override;
  void SendMidiToUI(const MidiMessage& message) override;
  // Width and height (signed 32-bit) and draw scale (32-bit float), little-endian.
  bool SaveEditorState(ByteChunk& chunk) const override;
  // Returns the position after the three values, or -1 when the chunk is short.
  int RestoreEditorState(const ByteChunk& chunk, int position) override;

  // Size and draw scale of the last closed editor; 0 until the first close.
  int RememberedWidth() const { return mRememberedWidth; }
  int RememberedHeight() const { return mRememberedHeight; }
  float RememberedDrawScale() const { return mRememberedDrawScale; }

 private:
  MakeGraphicsFunction mMakeGraphics;
  LayoutFunction mLayout;
  std::unique_ptr<gfx::Graphics> mGraphics;
  int mRememberedWidth = 0;
  int mRememberedHeight = 0;
  float mRememberedDrawScale = 0.0f;
  bool mClosing = false;
};

}  // namespace plugkit
