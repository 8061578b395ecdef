#include "graphics/platform/GraphicsWinFileDropTarget.h"

#include "graphics/platform/GraphicsWin.h"

namespace plugkit::gfx {
namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

HRESULT GraphicsWinFileDropTarget::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG GraphicsWinFileDropTarget::AddRef() { return ++references_; }

ULONG GraphicsWinFileDropTarget::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT GraphicsWinFileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  FORMATETC format = FileListFormat();
  holdsFiles_ = data && data->QueryGetData(&format) == S_OK;
  if (effect) *effect = holdsFiles_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT GraphicsWinFileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (effect) *effect = holdsFiles_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT GraphicsWinFileDropTarget::DragLeave() {
  holdsFiles_ = false;
  return S_OK;
}

HRESULT GraphicsWinFileDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
  if (effect) *effect = DROPEFFECT_NONE;
  FORMATETC format = FileListFormat();
  STGMEDIUM medium{};
  if (!data || data->GetData(&format, &medium) != S_OK) return S_OK;
  POINT client{point.x, point.y};
  ScreenToClient(window_, &client);
  if (auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
    graphics_.DropFiles(drop, client.x, client.y);
    GlobalUnlock(medium.hGlobal);
    if (effect) *effect = DROPEFFECT_COPY;
  }
  ReleaseStgMedium(&medium);
  holdsFiles_ = false;
  return S_OK;
}

}  // namespace plugkit::gfx
