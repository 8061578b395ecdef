#include "graphics/platform/WinPresenter.h"

#include <cstddef>

#include "graphics/platform/WinApi.h"
#include "graphics/platform/WinTranslate.h"

namespace plugkit::gfx {
namespace {

constexpr DWORD kRegionBufferBytes = 1024;

}  // namespace

RectList UpdateAreas(HWND window, float scale) {
  RectList areas;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (!region) return areas;
  const int kind = GetUpdateRgn(window, region, FALSE);
  if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
    alignas(RGNDATA) std::byte buffer[kRegionBufferBytes];
    auto* data = reinterpret_cast<RGNDATA*>(buffer);
    const DWORD needed = GetRegionData(region, 0, nullptr);
    if (needed > 0 && needed <= kRegionBufferBytes &&
        GetRegionData(region, kRegionBufferBytes, data) != 0) {
      const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
      for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        areas.Add(
            UnitsFromPixels(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom, scale));
      }
    } else {
      RECT box{};
      GetRgnBox(region, &box);
      areas.Add(UnitsFromPixels(box.left, box.top, box.right, box.bottom, scale));
    }
  }
  DeleteObject(region);
  return areas;
}

void PresentFrame(HWND window, const std::uint8_t* pixels, int width, int height) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (dc && pixels && width > 0 && height > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS);
  }
  EndPaint(window, &paint);
}

}  // namespace plugkit::gfx
