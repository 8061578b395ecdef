#include "framework/EditorDelegateBase.h"

#include <algorithm>

namespace plugkit {

EditorDelegateBase::EditorDelegateBase(int paramCount) {
  params_.reserve(static_cast<size_t>(std::max(paramCount, 0)));
  for (int i = 0; i < paramCount; ++i) params_.push_back(std::make_unique<Param>());
}

EditorDelegateBase::~EditorDelegateBase() = default;

Param* EditorDelegateBase::ParamAt(int index) {
  return index >= 0 && index < ParamCount() ? params_[static_cast<size_t>(index)].get() : nullptr;
}

const Param* EditorDelegateBase::ParamAt(int index) const {
  return index >= 0 && index < ParamCount() ? params_[static_cast<size_t>(index)].get() : nullptr;
}

void* EditorDelegateBase::OpenWindow(void*) {
  OnEditorOpened();
  return nullptr;
}

void EditorDelegateBase::CloseWindow() { OnEditorClosing(); }

void EditorDelegateBase::OnEditorOpened() {
  for (int i = 0; i < ParamCount(); ++i)
    SendParamValueToUI(i, ParamAt(i)->GetNormalizedValue(), true);
}

void EditorDelegateBase::OnParamChange(int index, ParamSource, int) { OnParamChange(index); }

void EditorDelegateBase::OnAllParamsChanged(ParamSource source) {
  for (int i = 0; i < ParamCount(); ++i) {
    OnParamChange(i, source, -1);
    OnParamChangeForEditor(i, source);
  }
}

void EditorDelegateBase::SendParamValueToUI(int index, double, bool) {
  OnParamChangeForEditor(index, ParamSource::EditorDelegate);
}

bool EditorDelegateBase::ConstrainEditorSize(int& width, int& height) const {
  const bool inside =
      width >= minWidth_ && width <= maxWidth_ && height >= minHeight_ && height <= maxHeight_;
  width = std::clamp(width, minWidth_, maxWidth_);
  height = std::clamp(height, minHeight_, maxHeight_);
  return inside;
}

void EditorDelegateBase::SetEditorSize(int width, int height) {
  editorWidth_ = width;
  editorHeight_ = height;
}

void EditorDelegateBase::SetEditorSizeLimits(int widthA, int widthB, int heightA, int heightB) {
  minWidth_ = std::min(widthA, widthB);
  maxWidth_ = std::max(widthA, widthB);
  minHeight_ = std::min(heightA, heightB);
  maxHeight_ = std::max(heightA, heightB);
}

}  // namespace plugkit
