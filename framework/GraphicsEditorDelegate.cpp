#include "framework/GraphicsEditorDelegate.h"

#include <cstdint>

#include "graphics/Graphics.h"

namespace plugkit {

GraphicsEditorDelegate::GraphicsEditorDelegate(int paramCount) : EditorDelegateBase(paramCount) {}

GraphicsEditorDelegate::~GraphicsEditorDelegate() = default;

std::unique_ptr<gfx::Graphics> GraphicsEditorDelegate::CreateGraphics() {
  return mMakeGraphics ? mMakeGraphics(*this) : nullptr;
}

void GraphicsEditorDelegate::LayoutEditor(gfx::Graphics& graphics) {
  if (mLayout) mLayout(graphics);
}

void* GraphicsEditorDelegate::OpenWindow(void* parent) {
  if (mGraphics) CloseWindow();
  return EditorDelegateBase::OpenWindow(parent);
}

void GraphicsEditorDelegate::CloseWindow() {
  if (mClosing) return;
  mClosing = true;
  OnEditorClosing();
  mGraphics.reset();
  mClosing = false;
}

void GraphicsEditorDelegate::OnHostResizeRequest(int, int) {}

void GraphicsEditorDelegate::SetScreenScale(float) {}

void GraphicsEditorDelegate::SendParamValueToUI(int index, double, bool) {
  OnParamChangeForEditor(index, ParamSource::EditorDelegate);
}

void GraphicsEditorDelegate::SendControlValueToUI(int, double) {}

void GraphicsEditorDelegate::SendControlMessageToUI(int, int, int, const void*) {}

void GraphicsEditorDelegate::SendMidiToUI(const MidiMessage& message) { OnMidiForEditor(message); }

bool GraphicsEditorDelegate::SaveEditorState(ByteChunk& chunk) const {
  const int32_t width = mRememberedWidth;
  const int32_t height = mRememberedHeight;
  const float scale = mRememberedDrawScale;
  const int before = chunk.Size();
  chunk.Put(width);
  chunk.Put(height);
  chunk.Put(scale);
  return chunk.Size() - before == 12;
}

int GraphicsEditorDelegate::RestoreEditorState(const ByteChunk& chunk, int position) {
  int32_t width = 0;
  int32_t height = 0;
  float scale = 0.0f;
  position = chunk.Get(width, position);
  if (position >= 0) position = chunk.Get(height, position);
  if (position >= 0) position = chunk.Get(scale, position);
  mRememberedWidth = width;
  mRememberedHeight = height;
  mRememberedDrawScale = scale;
  return position;
}

}  // namespace plugkit
