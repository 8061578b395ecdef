#include "graphics/platform/GraphicsWin.h"

#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "framework/SaturatingCast.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/platform/GraphicsWinFileDropTarget.h"
#include "graphics/platform/WinApi.h"
#include "graphics/platform/WinPresenter.h"
#include "graphics/platform/WinText.h"

namespace plugkit::gfx {
namespace {

constexpr wchar_t kWindowClassName[] = L"PlugkitWndClass";
constexpr wchar_t kWindowTitle[] = L"Plugkit";
// Child, visible, clip siblings, clip children.
constexpr DWORD kWindowStyle = 0x56000000;
// Keep position and z-order, do not activate.
constexpr UINT kResizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr std::size_t kMaxDroppedPath = 1024;

// The editor windows of this module that use the window class, process-wide.
std::mutex& WindowClassLock() {
  static std::mutex lock;
  return lock;
}
int windowClassUsers = 0;

HINSTANCE ModuleOf(void* instance) {
  if (instance) return static_cast<HINSTANCE>(instance);
  // Without a module from the plug-in: the module this code is part of.
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ModuleOf), &module);
  return module;
}

template <class Function>
Function Lookup(const wchar_t* library, const char* name, bool load = false) {
  HMODULE module = load ? LoadLibraryW(library) : GetModuleHandleW(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

float ScreenScaleOf(HWND window) {
  using GetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpi = Lookup<GetDpiForWindow>(L"user32.dll", "GetDpiForWindow");
  if (!getDpi || !window) return 1.0f;
  return ScreenScaleFromDpi(getDpi(window));
}

bool IsConnectedToInternet() {
  using GetConnectedState = BOOL(WINAPI*)(DWORD*, DWORD);
  static const auto getState =
      Lookup<GetConnectedState>(L"wininet.dll", "InternetGetConnectedState", true);
  DWORD flags = 0;
  return getState && getState(&flags, 0);
}

bool IsFileUrl(const char* address) { return _strnicmp(address, "file:", 5) == 0; }

int ScaledPixels(int units, float drawScale, float screenScale) {
  const float scaled =
      static_cast<float>(SaturateTruncate<int>(static_cast<float>(units) * drawScale));
  return SaturateTruncate<int>(scaled * screenScale);
}

}  // namespace

GraphicsWin::GraphicsWin(GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
                         float drawScale)
    : GraphicsPlatformBase(delegate, width, height, frameRate, drawScale),
      vsync_(WinFrameClock::SystemSupportsVSync()) {}

GraphicsWin::~GraphicsWin() { CloseWindow(); }

void* GraphicsWin::OpenWindow(void* parent) {
  auto* parentWindow = static_cast<HWND>(parent);
  if (!parentWindow || !IsWindow(parentWindow)) return nullptr;
  const float scale = ScreenScaleOf(parentWindow);
  int x = 0;
  int y = 0;
  int w = static_cast<int>(scale) * SaturateTruncate<int>(static_cast<float>(width_) * drawScale_);
  int h = static_cast<int>(scale) * SaturateTruncate<int>(static_cast<float>(height_) * drawScale_);
  if (window_) {
    RECT rect{};
    GetWindowRect(window_, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window_), reinterpret_cast<POINT*>(&rect), 2);
    x = rect.left;
    y = rect.top;
    w = rect.right - rect.left;
    h = rect.bottom - rect.top;
    CloseWindow();
  }
  parent_ = parentWindow;
  const HINSTANCE module = ModuleOf(ModuleInstance());
  {
    std::lock_guard guard(WindowClassLock());
    if (windowClassUsers++ == 0) {
      WNDCLASSW windowClass{};
      windowClass.style = CS_DBLCLKS | CS_OWNDC;
      windowClass.lpfnWndProc = WindowProc;
      windowClass.hInstance = module;
      windowClass.lpszClassName = kWindowClassName;
      RegisterClassW(&windowClass);
    }
    classRegistered_ = true;
  }
  // WM_CREATE sets window_ and starts the frame clock.
  CreateWindowExW(0, kWindowClassName, kWindowTitle, kWindowStyle, x, y, w, h, parentWindow,
                  nullptr, module, this);
  if (!window_) {
    ReleaseWindowResources();
    parent_ = nullptr;
    return nullptr;
  }
  const HRESULT ole = OleInitialize(nullptr);
  if (SUCCEEDED(ole)) {
    oleInitialised_ = true;
    auto* target = new GraphicsWinFileDropTarget(window_, *this);
    if (RegisterDragDrop(window_, target) == S_OK) {
      dropTarget_ = target;
      dropTarget_->AddRef();
    }
    target->Release();  // the creation reference
  }
  RebuildSurface();
  SetScreenScale(scale);
  Delegate().LayoutEditor(*this);
  SetAllControlsDirty();
  Delegate().OnEditorOpened();
  return window_;
}

void GraphicsWin::OnCreated(HWND window) {
  window_ = window;
  StartFrameClock();
  // Keys, and with them the wheel, work without a click first.
  SetFocus(window);
  DragAcceptFiles(window, TRUE);
}

void GraphicsWin::StartFrameClock() {
  if (vsync_) {
    pacer_ = FramePacer();  // a new clock counts from 0
    clock_.Start(window_, GetDC(window_));
    return;
  }
  const int frameRate = frameRate_ > 0 ? frameRate_ : 60;
  UINT interval = static_cast<UINT>(1000 / frameRate);
  if (interval < 20) interval = 15;
  SetTimer(window_, kFrameTimerId, interval, nullptr);
}

void GraphicsWin::StopFrameClock() {
  if (vsync_) {
    clock_.Stop();
  } else if (window_) {
    KillTimer(window_, kFrameTimerId);
  }
}

void GraphicsWin::CloseWindow() {
  if (!window_ && !classRegistered_) return;
  closing_ = true;
  StopFrameClock();
  BeginContext();
  RemoveAllControls();
  EndContext();
  if (GetCapture() == window_) ReleaseCapture();
  if (systemPointerHidden_) ShowSystemPointer(true);
  cursorHidden_ = cursorLocked_ = false;
  if (dropTarget_) {
    RevokeDragDrop(window_);
    dropTarget_->Release();
    dropTarget_ = nullptr;
  }
  if (oleInitialised_) {
    OleUninitialize();
    oleInitialised_ = false;
  }
  if (window_) {
    // No message of the dying window reaches this object any more.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    if (!destroyedByHost_) DestroyWindow(window_);
  }
  ReleaseWindowResources();
  closing_ = false;
}

void GraphicsWin::ReleaseWindowResources() {
  window_ = nullptr;
  trackingLeave_ = false;
  if (!classRegistered_) return;
  classRegistered_ = false;
  std::lock_guard guard(WindowClassLock());
  if (--windowClassUsers == 0) UnregisterClassW(kWindowClassName, ModuleOf(ModuleInstance()));
}

float GraphicsWin::WindowScale() const { return ScreenScaleOf(window_ ? window_ : parent_); }

void GraphicsWin::ResizeWindow(bool parentHasResized) {
  if (!window_) return;
  RECT rect{};
  GetWindowRect(window_, &rect);
  const int dW = ScaledPixels(width_, drawScale_, screenScale_) - (rect.right - rect.left);
  const int dH = ScaledPixels(height_, drawScale_, screenScale_) - (rect.bottom - rect.top);
  HWND parent = nullptr;
  HWND grandparent = nullptr;
  RECT parentRect{};
  RECT grandparentRect{};
  const bool isChild = (GetWindowLongW(window_, GWL_STYLE) & WS_CHILD) != 0;
  const bool isMdiChild = (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  if (isChild && !isMdiChild) {
    parent = GetParent(window_);
    if (parent) GetWindowRect(parent, &parentRect);
    if (parent && (GetWindowLongW(parent, GWL_STYLE) & WS_CHILD) != 0) {
      grandparent = GetParent(parent);
      if (grandparent) GetWindowRect(grandparent, &grandparentRect);
    }
  }
  if (dW == 0 && dH == 0) return;
  const auto grow = [dW, dH](HWND window, const RECT& r) {
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dW, r.bottom - r.top + dH, kResizeFlags);
  };
  grow(window_, rect);
  if (parentHasResized) return;
  if (parent) grow(parent, parentRect);
  if (grandparent) grow(grandparent, grandparentRect);
}

void GraphicsWin::OnFrameTick(bool fromClock, std::uint32_t postedCount) {
  if (fromClock && !pacer_.ShouldDraw(postedCount, clock_.Count())) return;
  // A monitor with another DPI is noticed here; not during a drag, which it would disturb.
  if (!GetCapture()) {
    const float scale = ScreenScaleOf(window_);
    if (scale != screenScale_) SetScreenScale(scale);
  }
  RectList dirty;
  if (!IsDirty(dirty)) return;
  SetAllControlsClean();
  const double scale = PixelScale();
  for (const Rect& r : dirty.Rects()) {
    const RECT area{SaturateTruncate<LONG>(std::floor(r.L * scale)),
                    SaturateTruncate<LONG>(std::floor(r.T * scale)),
                    SaturateTruncate<LONG>(std::ceil(r.R * scale)),
                    SaturateTruncate<LONG>(std::ceil(r.B * scale))};
    InvalidateRect(window_, &area, FALSE);
  }
  UpdateWindow(window_);  // paints now, through WM_PAINT
  if (fromClock) pacer_.AfterPaint(postedCount, clock_.Count());
}

void GraphicsWin::Paint() {
  RectList areas = UpdateAreas(window_, PixelScale());
  if (!areas.IsEmpty()) {
    BeginContext();
    Draw(areas);
    EndContext();
  }
  ValidateRect(window_, nullptr);
}

void GraphicsWin::EndFrame() {
  GraphicsPlatformBase::EndFrame();
  if (window_) PresentFrame(window_, Pixels(), SurfaceWidth(), SurfaceHeight());
}

std::intptr_t GraphicsWin::WindowProc(HWND window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  if (message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* self = static_cast<GraphicsWin*>(create->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->OnCreated(window);
    return 0;
  }
  auto* self = reinterpret_cast<GraphicsWin*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

std::intptr_t GraphicsWin::HandleMessage(unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kFrameTimerId) OnFrameTick(false, 0);
      return 0;
    case WinFrameClock::kTickMessage:
      OnFrameTick(true, static_cast<std::uint32_t>(wParam));
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CLOSE:
      CloseWindow();
      return 0;
    case WM_DESTROY:
      // The host destroyed its window, and this one with it.
      if (!closing_) {
        destroyedByHost_ = true;
        CloseWindow();
        destroyedByHost_ = false;
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ERASEBKGND:
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_SETCURSOR:
      SetCursorShape(ShownCursor());
      return TRUE;
    case WM_DROPFILES: {
      const auto drop = reinterpret_cast<HDROP>(wParam);
      POINT point{};
      DragQueryPoint(drop, &point);
      DropFiles(drop, point.x, point.y);
      DragFinish(drop);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      return OnKeyMessage(message, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_MOUSELEAVE:
      return OnMouseMessage(message, wParam, lParam);
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void GraphicsWin::DropFiles(HDROP drop, long x, long y) {
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::string> paths;
  for (UINT i = 0; i < count; ++i) {
    wchar_t path[kMaxDroppedPath] = {};
    const UINT length = DragQueryFileW(drop, i, path, kMaxDroppedPath);
    if (length > 0 && length < kMaxDroppedPath) paths.push_back(Utf8FromWide({path, length}));
  }
  const float scale = PixelScale();
  const float ux = static_cast<float>(x) / scale;
  const float uy = static_cast<float>(y) / scale;
  if (paths.size() == 1) {
    OnDrop(paths.front().c_str(), ux, uy);
  } else if (paths.size() > 1) {
    OnDropMultiple(paths, ux, uy);
  }
}

void GraphicsWin::GetPointerPosition(float& x, float& y) const {
  GetLastPointerPosition(x, y);
  POINT point{};
  if (!window_ || !GetCursorPos(&point) || !ScreenToClient(window_, &point)) return;
  x = static_cast<float>(point.x) / PixelScale();
  y = static_cast<float>(point.y) / PixelScale();
}

void GraphicsWin::MovePointer(float x, float y) {
  if (penInput_ || !window_) return;
  const double scale = PixelScale();
  if (!(scale > 0.0)) return;
  POINT point{SaturateRound<LONG>(x * scale), SaturateRound<LONG>(y * scale)};
  ClientToScreen(window_, &point);
  SetCursorPos(point.x, point.y);
  float px = x;
  float py = y;
  GetPointerPosition(px, py);
  lastPointerX_ = hiddenX_ = px;
  lastPointerY_ = hiddenY_ = py;
}

void GraphicsWin::ShowSystemPointer(bool visible) {
  if (visible == !systemPointerHidden_) return;
  // ShowCursor counts per thread: every hide is matched by one show.
  ShowCursor(visible ? TRUE : FALSE);
  systemPointerHidden_ = !visible;
}

void GraphicsWin::ShowSystemCursor(CursorShape shape) {
  if (!window_) return;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(SystemCursorId(shape))));
}

bool GraphicsWin::SupportsMultiTouch() const {
  return (GetSystemMetrics(SM_DIGITIZER) & NID_MULTI_INPUT) != 0;
}

bool GraphicsWin::OpenWebAddress(const char* address, const char* title, const char* confirmText,
                                 const char* failureText) {
  if (!address || !*address) return false;
  const std::wstring wideTitle = WideFromUtf8(title ? title : "");
  if (confirmText && MessageBoxW(window_, WideFromUtf8(confirmText).c_str(), wideTitle.c_str(),
                                 MB_YESNO) != IDYES) {
    return false;
  }
  // A document on this machine needs no connection.
  if (IsFileUrl(address) || IsConnectedToInternet()) {
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        window_, L"open", WideFromUtf8(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
  }
  if (failureText)
    MessageBoxW(window_, WideFromUtf8(failureText).c_str(), wideTitle.c_str(), MB_OK);
  return false;
}

}  // namespace plugkit::gfx
