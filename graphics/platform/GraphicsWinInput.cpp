// The editor window's mouse and keyboard messages.

#include "graphics/platform/GraphicsWin.h"
#include "graphics/platform/WinApi.h"

namespace plugkit::gfx {
namespace {

int LowWordX(std::intptr_t lParam) { return static_cast<short>(LOWORD(lParam)); }
int HighWordY(std::intptr_t lParam) { return static_cast<short>(HIWORD(lParam)); }
bool IsKeyDown(int virtualKey) { return GetKeyState(virtualKey) < 0; }

}  // namespace

PointerEvent GraphicsWin::ReadMouseMessage(std::uintptr_t wParam, std::intptr_t lParam) {
  penInput_ = IsPenOrTouchMessage(static_cast<std::uint64_t>(GetMessageExtraInfo()));
  if (penInput_) cursorLocked_ = false;
  const float scale = PixelScale();
  PointerEvent event;
  event.x = static_cast<float>(LowWordX(lParam)) / scale;
  event.y = static_cast<float>(HighWordY(lParam)) / scale;
  event.state.L = (wParam & MK_LBUTTON) != 0;
  event.state.R = (wParam & MK_RBUTTON) != 0;
  event.state.S = (wParam & MK_SHIFT) != 0;
  event.state.C = (wParam & MK_CONTROL) != 0;
  event.state.A = IsKeyDown(VK_MENU);
  return event;
}

std::intptr_t GraphicsWin::OnMouseMessage(unsigned message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      OnMoveMessage(wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
      OnWheelMessage(wParam, lParam);
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      OnMouseOut();
      return 0;
    default:
      break;
  }
  const PointerEvent event = ReadMouseMessage(wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (penInput_) return 0;
      lastPointerX_ = event.x;
      lastPointerY_ = event.y;
      SetFocus(window_);
      SetCapture(window_);
      OnMouseDown({event});
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      lastPointerX_ = event.x;
      lastPointerY_ = event.y;
      ReleaseCapture();
      OnMouseUp({event});
      return 0;
    case WM_MBUTTONUP:
      // The press captured the mouse; controls never see the middle button's release.
      if (GetCapture() == window_ && !event.state.L && !event.state.R) ReleaseCapture();
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      if (penInput_) return 0;
      lastPointerX_ = event.x;
      lastPointerY_ = event.y;
      if (OnMouseDblClick(event.x, event.y, event.state)) SetCapture(window_);
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void GraphicsWin::OnMoveMessage(std::uintptr_t wParam, std::intptr_t lParam) {
  PointerEvent event = ReadMouseMessage(wParam, lParam);
  if (penInput_) return;
  if ((event.state.L || event.state.R) && GetCapture() == window_) {
    event.dX = event.x - lastPointerX_;
    event.dY = event.y - lastPointerY_;
    lastPointerX_ = event.x;
    lastPointerY_ = event.y;
    if (event.dX != 0.0f || event.dY != 0.0f) OnMouseDrag({event});
    // A locked pointer goes back to where it was hidden, so it never reaches a screen edge;
    // the move this causes arrives with no distance.
    if (cursorLocked_ && window_) MovePointer(hiddenX_, hiddenY_);
    return;
  }
  lastPointerX_ = event.x;
  lastPointerY_ = event.y;
  if (OnMouseOver(event.x, event.y, event.state) && !trackingLeave_) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_, HOVER_DEFAULT};
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
  }
}

void GraphicsWin::OnWheelMessage(std::uintptr_t wParam, std::intptr_t lParam) {
  // The message carries screen coordinates.
  RECT rect{};
  GetWindowRect(window_, &rect);
  PointerEvent event = ReadMouseMessage(wParam, lParam);
  const float scale = PixelScale();
  event.x = static_cast<float>(LowWordX(lParam) - rect.left) / scale;
  event.y = static_cast<float>(HighWordY(lParam) - rect.top) / scale;
  lastPointerX_ = event.x;
  lastPointerY_ = event.y;
  OnMouseWheel(event.x, event.y, event.state,
               static_cast<float>(WheelNotches(static_cast<std::uint64_t>(wParam))));
}

std::intptr_t GraphicsWin::OnKeyMessage(unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
  BYTE keyboard[256] = {};
  GetKeyboardState(keyboard);
  wchar_t units[4] = {};
  const UINT scanCode = (static_cast<UINT>(lParam) >> 16) & 0xFF;
  const int count = ToUnicode(static_cast<UINT>(wParam), scanCode, keyboard, units, 4, 0);
  KeyEvent key;
  key.virtualKey = static_cast<std::int32_t>(wParam);
  const std::u16string text(reinterpret_cast<const char16_t*>(units), count > 0 ? count : 0);
  key.SetText(KeyTextFromUtf16(text.data(), static_cast<int>(text.size())).c_str());
  key.S = IsKeyDown(VK_SHIFT);
  key.C = IsKeyDown(VK_CONTROL);
  key.A = IsKeyDown(VK_MENU);
  float x = 0.0f;
  float y = 0.0f;
  GetPointerPosition(x, y);
  const bool handled = message == WM_KEYDOWN ? OnKeyDown(x, y, key) : OnKeyUp(x, y, key);
  if (handled || !window_) return 0;
  // The host's shortcuts keep working while the editor has the focus.
  const HWND root = GetAncestor(window_, GA_ROOT);
  if (root && root != window_) SendMessageW(root, message, wParam, lParam);
  return window_ ? DefWindowProcW(window_, message, wParam, lParam) : 0;
}

}  // namespace plugkit::gfx
