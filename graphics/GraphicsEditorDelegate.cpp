#include "graphics/GraphicsEditorDelegate.h"

#include <algorithm>
#include <cstdint>

#include "graphics/Control.h"
#include "graphics/Graphics.h"

namespace plugkit {

GraphicsEditorDelegate::GraphicsEditorDelegate(int paramCount) : EditorDelegateBase(paramCount) {}

GraphicsEditorDelegate::~GraphicsEditorDelegate() = default;

std::unique_ptr<gfx::Graphics> GraphicsEditorDelegate::CreateGraphics() {
  return makeGraphics_ ? makeGraphics_(*this) : nullptr;
}

void GraphicsEditorDelegate::LayoutEditor(gfx::Graphics& graphics) {
  if (layout_) layout_(graphics);
}

void* GraphicsEditorDelegate::OpenWindow(void* parent) {
  if (graphics_) CloseWindow();
  graphics_ = CreateGraphics();
  if (!graphics_) return EditorDelegateBase::OpenWindow(parent);
  if (rememberedWidth_ != 0 && rememberedHeight_ != 0 && rememberedDrawScale_ != 0.0f) {
    graphics_->Resize(rememberedWidth_, rememberedHeight_, rememberedDrawScale_, true);
  }
  // The platform layer lays out the editor and ends with OnEditorOpened.
  return graphics_->OpenWindow(parent);
}

void GraphicsEditorDelegate::CloseWindow() {
  if (closing_) return;
  closing_ = true;
  OnEditorClosing();
  if (graphics_) {
    rememberedWidth_ = graphics_->Width();
    rememberedHeight_ = graphics_->Height();
    rememberedDrawScale_ = graphics_->DrawScale();
    graphics_->CloseWindow();
    graphics_.reset();
  }
  closing_ = false;
}

void GraphicsEditorDelegate::OnHostResizeRequest(int pixelWidth, int pixelHeight) {
  if (graphics_) graphics_->OnHostResizeRequest(pixelWidth, pixelHeight);
}

void GraphicsEditorDelegate::SetScreenScale(float scale) {
  if (graphics_) graphics_->SetScreenScale(scale);
}

void GraphicsEditorDelegate::SendParamValueToUI(int index, double value, bool normalized) {
  if (graphics_) {
    const Param* param = ParamAt(index);
    // A plain value for an index without a parameter cannot be converted: it stays unsent.
    const bool deliver = normalized || param != nullptr;
    if (!normalized && param) value = std::clamp(param->Normalize(value), 0.0, 1.0);
    for (int i = 0; deliver && i < graphics_->ControlCount(); ++i) {
      gfx::Control* control = graphics_->GetControl(i);
      for (int j = 0; j < control->ValueCount(); ++j) {
        if (control->ParamIndex(j) == index) control->ReceiveValue(value, j);
      }
    }
  }
  OnParamChangeForEditor(index, ParamSource::EditorDelegate);
}

void GraphicsEditorDelegate::SendControlValueToUI(int tag, double normalizedValue) {
  if (!graphics_) return;
  if (gfx::Control* control = graphics_->GetControlWithTag(tag))
    control->ReceiveValue(normalizedValue, 0);
}

void GraphicsEditorDelegate::SendControlMessageToUI(int tag, int messageTag, int size,
                                                    const void* bytes) {
  if (!graphics_) return;
  if (gfx::Control* control = graphics_->GetControlWithTag(tag))
    control->OnMessage(messageTag, size, bytes);
}

void GraphicsEditorDelegate::SendMidiToUI(const MidiMessage& message) {
  if (graphics_) {
    for (int i = 0; i < graphics_->ControlCount(); ++i) {
      gfx::Control* control = graphics_->GetControl(i);
      if (control->WantsMidi()) control->OnMidiMessage(message);
    }
  }
  OnMidiForEditor(message);
}

bool GraphicsEditorDelegate::SaveEditorState(ByteChunk& chunk) const {
  const int32_t width = graphics_ ? graphics_->Width() : rememberedWidth_;
  const int32_t height = graphics_ ? graphics_->Height() : rememberedHeight_;
  const float scale = graphics_ ? graphics_->DrawScale() : rememberedDrawScale_;
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
  if (!graphics_) {
    rememberedWidth_ = width;
    rememberedHeight_ = height;
    rememberedDrawScale_ = scale;
  } else if (width != 0 && height != 0 && scale != 0.0f) {
    graphics_->Resize(width, height, scale, true);
  }
  return position;
}

}  // namespace plugkit
