#include "framework/GraphicsEditorDelegate.h"

#include <algorithm>
#include <cstdint>

#include "graphics/Control.h"
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
  mGraphics = CreateGraphics();
  if (!mGraphics) return EditorDelegateBase::OpenWindow(parent);
  if (mRememberedWidth != 0 && mRememberedHeight != 0 && mRememberedDrawScale != 0.0f) {
    mGraphics->Resize(mRememberedWidth, mRememberedHeight, mRememberedDrawScale, true);
  }
  // The platform layer lays out the editor and ends with OnEditorOpened.
  return mGraphics->OpenWindow(parent);
}

void GraphicsEditorDelegate::CloseWindow() {
  if (mClosing) return;
  mClosing = true;
  OnEditorClosing();
  if (mGraphics) {
    mRememberedWidth = mGraphics->Width();
    mRememberedHeight = mGraphics->Height();
    mRememberedDrawScale = mGraphics->DrawScale();
    mGraphics->CloseWindow();
    mGraphics.reset();
  }
  mClosing = false;
}

void GraphicsEditorDelegate::OnHostResizeRequest(int pixelWidth, int pixelHeight) {
  if (mGraphics) mGraphics->OnHostResizeRequest(pixelWidth, pixelHeight);
}

void GraphicsEditorDelegate::SetScreenScale(float scale) {
  if (mGraphics) mGraphics->SetScreenScale(scale);
}

void GraphicsEditorDelegate::SendParamValueToUI(int index, double value, bool normalized) {
  if (mGraphics) {
    const Param* param = ParamAt(index);
    // A plain value for an index without a parameter cannot be converted: it stays unsent.
    const bool deliver = normalized || param != nullptr;
    if (!normalized && param) value = std::clamp(param->Normalize(value), 0.0, 1.0);
    for (int i = 0; deliver && i < mGraphics->ControlCount(); ++i) {
      gfx::Control* control = mGraphics->GetControl(i);
      for (int j = 0; j < control->ValueCount(); ++j) {
        if (control->ParamIndex(j) == index) control->ReceiveValue(value, j);
      }
    }
  }
  OnParamChangeForEditor(index, ParamSource::EditorDelegate);
}

void GraphicsEditorDelegate::SendControlValueToUI(int tag, double normalizedValue) {
  if (!mGraphics) return;
  if (gfx::Control* control = mGraphics->GetControlWithTag(tag)) control->ReceiveValue(normalizedValue, 0);
}

void GraphicsEditorDelegate::SendControlMessageToUI(int tag, int messageTag, int size, const void* bytes) {
  if (!mGraphics) return;
  if (gfx::Control* control = mGraphics->GetControlWithTag(tag)) control->OnMessage(messageTag, size, bytes);
}

void GraphicsEditorDelegate::SendMidiToUI(const MidiMessage& message) {
  if (mGraphics) {
    for (int i = 0; i < mGraphics->ControlCount(); ++i) {
      gfx::Control* control = mGraphics->GetControl(i);
      if (control->WantsMidi()) control->OnMidiMessage(message);
    }
  }
  OnMidiForEditor(message);
}

bool GraphicsEditorDelegate::SaveEditorState(ByteChunk& chunk) const {
  const int32_t width = mGraphics ? mGraphics->Width() : mRememberedWidth;
  const int32_t height = mGraphics ? mGraphics->Height() : mRememberedHeight;
  const float scale = mGraphics ? mGraphics->DrawScale() : mRememberedDrawScale;
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
  if (!mGraphics) {
    mRememberedWidth = width;
    mRememberedHeight = height;
    mRememberedDrawScale = scale;
  } else if (width != 0 && height != 0 && scale != 0.0f) {
    mGraphics->Resize(width, height, scale, true);
  }
  return position;
}

}  // namespace plugkit
