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
  using MakeGraphicsFunction =
      std::function<std::unique_ptr<gfx::Graphics>(GraphicsEditorDelegate&)>;
  using LayoutFunction = std::function<void(gfx::Graphics&)>;

  explicit GraphicsEditorDelegate(int paramCount);
  ~GraphicsEditorDelegate() override;

  // [main-thread] Set by the effect's constructor.
  void SetMakeGraphicsFunction(MakeGraphicsFunction function) {
    makeGraphics_ = std::move(function);
  }
  void SetLayoutFunction(LayoutFunction function) { layout_ = std::move(function); }

  // [main-thread] Runs the make-graphics function; null without one.
  virtual std::unique_ptr<gfx::Graphics> CreateGraphics();
  // [main-thread] Runs the layout function on a new graphics context.
  virtual void LayoutEditor(gfx::Graphics& graphics);
  // The open editor's graphics context, null while closed.
  gfx::Graphics* GetGraphics() const { return graphics_.get(); }

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
  int RememberedWidth() const { return rememberedWidth_; }
  int RememberedHeight() const { return rememberedHeight_; }
  float RememberedDrawScale() const { return rememberedDrawScale_; }

 private:
  MakeGraphicsFunction makeGraphics_;
  LayoutFunction layout_;
  std::unique_ptr<gfx::Graphics> graphics_;
  int rememberedWidth_ = 0;
  int rememberedHeight_ = 0;
  float rememberedDrawScale_ = 0.0f;
  bool closing_ = false;
};

}  // namespace plugkit
