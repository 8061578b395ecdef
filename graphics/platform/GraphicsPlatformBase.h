#pragma once

#include "graphics/GraphicsCairo.h"

namespace plugkit::gfx {

// What the platform layers share: fonts come from the embedded bytes or files through FreeType
// (on Windows too: the backend draws with FreeType, so installing them in the system would only
// duplicate them), and the services this editor never reaches (menus, native text boxes,
// message boxes, choosers, the file browser) report failure or cancellation.
class GraphicsPlatformBase : public GraphicsCairo {
 public:
  GraphicsPlatformBase(GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
                       float drawScale);

  MessageBoxResult ShowMessageBox(
      const char* text, const char* title, MessageBoxType type,
      const std::function<void(MessageBoxResult)>& completion = nullptr) override;
  void ChooseFile(std::string& fileName, std::string& directory, FileAction action,
                  const char* extensions) override;
  void ChooseDirectory(std::string& directory) override;
  bool ChooseColor(Color& color, const char* title) override;
  bool RevealInFileBrowser(const char* path, bool select) override;
  std::unique_ptr<PlatformFont> LoadSystemFont(const char* fontId, const char* family,
                                               FontStyle style) override;
  std::unique_ptr<PlatformFont> LoadFontData(const char* fontId, const void* bytes,
                                             int size) override;
  std::unique_ptr<PlatformFont> LoadFontFile(const char* fontId,
                                             const char* fileOrResourceName) override;
  void RegisterPlatformFont(const char* fontId, const PlatformFont& font) override;
  void ShowPlatformTextEntry(int paramIndex, const TextStyle& style, const Rect& bounds, int length,
                             const char* text) override;
  PopupMenu* ShowPlatformMenu(PopupMenu& menu, const Rect& bounds, bool& isAsync) override;

  // Hiding remembers where the pointer was; showing a locked pointer puts it back there.
  void HidePointer(bool hide, bool lock) override;
  CursorShape SetCursorShape(CursorShape shape) override;

 protected:
  // What the window system does for the two above; nothing without a window.
  virtual void ShowSystemPointer(bool visible) { (void)visible; }
  virtual void ShowSystemCursor(CursorShape shape) { (void)shape; }
  CursorShape ShownCursor() const { return shownCursor_; }

  float hiddenX_ = -1.0f;
  float hiddenY_ = -1.0f;

 private:
  CursorShape shownCursor_ = CursorShape::Arrow;
};

}  // namespace plugkit::gfx
