#pragma once

#include <atomic>

#include "graphics/platform/WinApi.h"

namespace plugkit::gfx {

class GraphicsWin;

// The OLE drop target of the editor window: accepts files (CF_HDROP) with a copy effect and
// hands them to the graphics context at the drop point. Created with one reference.
class GraphicsWinFileDropTarget final : public IDropTarget {
 public:
  GraphicsWinFileDropTarget(HWND window, GraphicsWin& graphics)
      : window_(window), graphics_(graphics) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                 DWORD* effect) override;

 private:
  ~GraphicsWinFileDropTarget() = default;

  std::atomic<ULONG> references_{1};
  HWND window_;
  GraphicsWin& graphics_;
  bool holdsFiles_ = false;
};

}  // namespace plugkit::gfx
