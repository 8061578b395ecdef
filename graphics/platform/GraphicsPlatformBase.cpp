#include "graphics/platform/GraphicsPlatformBase.h"

#include "graphics/platform/PlatformFonts.h"

namespace plugkit::gfx {

GraphicsPlatformBase::GraphicsPlatformBase(GraphicsEditorDelegate& delegate, int width, int height,
                                           int frameRate, float drawScale)
    : GraphicsCairo(delegate, width, height, frameRate, drawScale) {}

MessageBoxResult GraphicsPlatformBase::ShowMessageBox(
    const char* text, const char* title, MessageBoxType type,
    const std::function<void(MessageBoxResult)>& completion) {
  (void)text, (void)title, (void)type;
  if (completion) completion(MessageBoxResult::Cancel);
  return MessageBoxResult::Cancel;
}

void GraphicsPlatformBase::ChooseFile(std::string& fileName, std::string& directory,
                                      FileAction action, const char* extensions) {
  (void)directory, (void)action, (void)extensions;
  fileName.clear();
}

void GraphicsPlatformBase::ChooseDirectory(std::string& directory) { directory.clear(); }

bool GraphicsPlatformBase::ChooseColor(Color& color, const char* title) {
  (void)color, (void)title;
  return false;
}

bool GraphicsPlatformBase::RevealInFileBrowser(const char* path, bool select) {
  (void)path, (void)select;
  return false;
}

std::unique_ptr<PlatformFont> GraphicsPlatformBase::LoadSystemFont(const char* fontId,
                                                                   const char* family,
                                                                   FontStyle style) {
  (void)fontId, (void)family, (void)style;
  return nullptr;
}

std::unique_ptr<PlatformFont> GraphicsPlatformBase::LoadFontData(const char* fontId,
                                                                 const void* bytes, int size) {
  (void)fontId;
  return MakePlatformFont(bytes, size);
}

std::unique_ptr<PlatformFont> GraphicsPlatformBase::LoadFontFile(const char* fontId,
                                                                 const char* fileOrResourceName) {
  (void)fontId;
  return LoadPlatformFontFile(fileOrResourceName);
}

// Without native text boxes there is nothing to keep a platform font for.
void GraphicsPlatformBase::RegisterPlatformFont(const char* fontId, const PlatformFont& font) {
  (void)fontId, (void)font;
}

void GraphicsPlatformBase::ShowPlatformTextEntry(int paramIndex, const TextStyle& style,
                                                 const Rect& bounds, int length, const char* text) {
  (void)paramIndex, (void)style, (void)bounds, (void)length, (void)text;
}

PopupMenu* GraphicsPlatformBase::ShowPlatformMenu(PopupMenu& menu, const Rect& bounds,
                                                  bool& isAsync) {
  (void)menu, (void)bounds;
  isAsync = false;
  return nullptr;
}

void GraphicsPlatformBase::HidePointer(bool hide, bool lock) {
  if (hide == cursorHidden_) return;
  if (hide) {
    hiddenX_ = lastPointerX_;
    hiddenY_ = lastPointerY_;
    cursorHidden_ = true;
    cursorLocked_ = lock && !penInput_;
    ShowSystemPointer(false);
  } else {
    if (cursorLocked_) MovePointer(hiddenX_, hiddenY_);
    cursorHidden_ = false;
    cursorLocked_ = false;
    ShowSystemPointer(true);
  }
}

CursorShape GraphicsPlatformBase::SetCursorShape(CursorShape shape) {
  const CursorShape previous = shownCursor_;
  shownCursor_ = shape;
  ShowSystemCursor(shape);
  return previous;
}

}  // namespace plugkit::gfx
