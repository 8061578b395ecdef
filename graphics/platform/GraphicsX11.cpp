#include "graphics/platform/GraphicsX11.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/SaturatingCast.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/platform/WindowAreas.h"

// Xlib last: its macros (Bool, Status, CursorShape) clash with names of the framework.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include "graphics/platform/X11ErrorFilter.h"
#include "graphics/platform/X11Presenter.h"

#undef CursorShape

extern char** environ;

namespace plugkit::gfx {
namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                            StructureNotifyMask;

// The X cursor-font shape of each CursorShape, in enumeration order.
constexpr unsigned kCursorGlyphs[] = {
    XC_left_ptr,
    XC_xterm,
    XC_watch,
    XC_crosshair,
    XC_sb_up_arrow,
    XC_bottom_right_corner,
    XC_bottom_left_corner,
    XC_sb_h_double_arrow,
    XC_sb_v_double_arrow,
    XC_fleur,
    XC_X_cursor,
    XC_hand2,
    XC_watch,
    XC_question_arrow,
};

// The top-level ancestor of a window (a direct child of the root), where the host listens
// for its shortcuts.
Window TopLevelOf(Display* display, Window window) {
  Window current = window;
  for (int depth = 0; depth < 64; ++depth) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, current, &root, &parent, &children, &count)) return window;
    if (children) XFree(children);
    if (parent == root || parent == 0) return current;
    current = parent;
  }
  return current;
}

// Latin-1 from XLookupString as UTF-8.
void SetLatin1Text(KeyEvent& key, unsigned char c) {
  char utf8[3] = {};
  if (c < 0x80) {
    utf8[0] = static_cast<char>(c);
  } else {
    utf8[0] = static_cast<char>(0xC0 | (c >> 6));
    utf8[1] = static_cast<char>(0x80 | (c & 0x3F));
  }
  key.SetText(utf8);
}

// Started programs are collected here so none stays a zombie for long.
std::vector<pid_t>& StartedPrograms() {
  static std::vector<pid_t> pids;
  return pids;
}

void ReapStartedPrograms() {
  auto& pids = StartedPrograms();
  std::erase_if(pids, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

}  // namespace

GraphicsX11::GraphicsX11(GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
                         float drawScale, TimerHost& timers)
    : GraphicsPlatformBase(delegate, width, height, frameRate, drawScale),
      timers_(timers),
      presenter_(std::make_unique<X11Presenter>()) {}

bool GraphicsX11::PresentsThroughSharedMemory() const { return presenter_->UsesSharedMemory(); }

GraphicsX11::~GraphicsX11() { CloseWindow(); }

void* GraphicsX11::NativeWindow() const {
  return window_ ? reinterpret_cast<void*>(static_cast<std::uintptr_t>(window_)) : nullptr;
}

void* GraphicsX11::OpenWindow(void* parent) {
  if (window_) CloseWindow();
  const auto parentWindow = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
  if (!parentWindow) return nullptr;
  display_ = XOpenDisplay(nullptr);
  if (!display_) return nullptr;
  X11ErrorFilter::Watch(display_);
  windowScale_ = ScreenScaleFromResources(XResourceManagerString(display_));
  const int scale = static_cast<int>(windowScale_);
  const int w = scale * SaturateTruncate<int>(static_cast<float>(width_) * drawScale_);
  const int h = scale * SaturateTruncate<int>(static_cast<float>(height_) * drawScale_);
  XSetWindowAttributes attributes{};
  attributes.event_mask = kEventMask;
  attributes.background_pixmap = None;
  const unsigned long errorsBefore = X11ErrorFilter::ErrorCount(display_);
  window_ = XCreateWindow(display_, parentWindow, 0, 0, static_cast<unsigned>(std::max(w, 1)),
                          static_cast<unsigned>(std::max(h, 1)), 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWEventMask | CWBackPixmap, &attributes);
  // Hosts such as Bitwig never call show: the window is embedded and mapped right here.
  const Atom embedInfo = XInternAtom(display_, "_XEMBED_INFO", False);
  const long info[2] = {0, 1};  // protocol version 0, mapped
  XChangeProperty(display_, window_, embedInfo, embedInfo, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(info), 2);
  XMapWindow(display_, window_);
  XSync(display_, False);
  if (X11ErrorFilter::ErrorCount(display_) != errorsBefore) {
    // Most likely not a window of this display.
    CloseWindow();
    return nullptr;
  }
  parent_ = parentWindow;
  topLevel_ = TopLevelOf(display_, parentWindow);
  OnWindowCreated();
  SetScreenScale(windowScale_);
  Delegate().LayoutEditor(*this);
  SetAllControlsDirty();
  frameClock_ = StartTimer(
      timers_, [this](Timer&) { OnFrameTick(); }, kFrameIntervalMs);
  Delegate().OnEditorOpened();
  return NativeWindow();
}

void GraphicsX11::CloseWindow() {
  if (!display_) return;
  frameClock_.reset();
  BeginContext();
  RemoveAllControls();
  EndContext();
  presenter_->Release();
  for (XId& cursor : cursors_) {
    if (cursor) XFreeCursor(display_, cursor);
    cursor = 0;
  }
  if (invisibleCursor_) XFreeCursor(display_, invisibleCursor_);
  invisibleCursor_ = 0;
  if (window_) XDestroyWindow(display_, window_);
  // Errors of a window the host destroyed first must arrive while they are still filtered.
  XSync(display_, False);
  X11ErrorFilter::Unwatch(display_);
  XCloseDisplay(display_);
  display_ = nullptr;
  window_ = parent_ = topLevel_ = 0;
  captured_ = false;
  cursorHidden_ = cursorLocked_ = false;
  ReapStartedPrograms();
}

void GraphicsX11::RebuildSurface() {
  GraphicsPlatformBase::RebuildSurface();
  if (window_) presenter_->Prepare(display_, window_, SurfaceWidth(), SurfaceHeight());
}

void GraphicsX11::ResizeWindow(bool parentHasResized) {
  (void)parentHasResized;  // the host's window is the host's to size
  if (!window_) return;
  const float scaledW = static_cast<float>(SaturateTruncate<int>(width_ * drawScale_));
  const float scaledH = static_cast<float>(SaturateTruncate<int>(height_ * drawScale_));
  const int w = SaturateTruncate<int>(scaledW * windowScale_);
  const int h = SaturateTruncate<int>(scaledH * windowScale_);
  if (w > 0 && h > 0)
    XResizeWindow(display_, window_, static_cast<unsigned>(w), static_cast<unsigned>(h));
}

void GraphicsX11::OnFrameTick() {
  if (!display_) return;
  while (display_ && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    HandleEvent(event);
  }
  if (!window_) return;
  if (!captured_ && windowScale_ != screenScale_) SetScreenScale(windowScale_);
  RectList dirty;
  if (!IsDirty(dirty)) return;
  SetAllControlsClean();
  RectList areas = WindowAreas(dirty, PixelScale(), SurfaceWidth(), SurfaceHeight());
  if (areas.IsEmpty()) return;
  // Draw leaves the areas pixel-aligned and without overlaps: exactly what to present.
  Draw(areas);
  Present(areas);
}

void GraphicsX11::Present(const RectList& areas) {
  const std::uint8_t* pixels = Pixels();
  const double scale = PixelScale();
  for (const Rect& r : areas.Rects()) {
    const int l = SaturateTruncate<int>(std::floor(r.L * scale));
    const int t = SaturateTruncate<int>(std::floor(r.T * scale));
    const int rr = SaturateTruncate<int>(std::ceil(r.R * scale));
    const int b = SaturateTruncate<int>(std::ceil(r.B * scale));
    presenter_->Put(pixels, l, t, rr - l, b - t);
  }
  presenter_->Finish();
}

void GraphicsX11::PresentExposed(const XEvent& event) {
  const XExposeEvent& expose = event.xexpose;
  presenter_->Put(Pixels(), expose.x, expose.y, expose.width, expose.height);
  if (expose.count == 0) presenter_->Finish();
}

void GraphicsX11::HandleEvent(XEvent& event) {
  if (event.xany.window != window_) return;
  switch (event.type) {
    case Expose:
      PresentExposed(event);
      break;
    case ButtonPress:
    case ButtonRelease:
      OnButton(event, event.type == ButtonPress);
      break;
    case MotionNotify:
      // Only the latest of a run of moves matters.
      while (XPending(display_) > 0) {
        XEvent next;
        XPeekEvent(display_, &next);
        if (next.type != MotionNotify || next.xany.window != window_) break;
        XNextEvent(display_, &event);
      }
      OnMotion(event);
      break;
    case EnterNotify:
      if (!captured_) {
        const float scale = PixelScale();
        lastPointerX_ = static_cast<float>(event.xcrossing.x) / scale;
        lastPointerY_ = static_cast<float>(event.xcrossing.y) / scale;
        OnMouseOver(lastPointerX_, lastPointerY_, StateOf(event.xcrossing.state));
      }
      break;
    case LeaveNotify:
      if (!captured_ && event.xcrossing.mode == NotifyNormal) OnMouseOut();
      break;
    case KeyPress:
    case KeyRelease:
      OnKey(event, event.type == KeyPress);
      break;
    case DestroyNotify:
      // The host destroyed its window, and ours with it.
      if (event.xdestroywindow.window == window_) {
        presenter_->Release();
        window_ = 0;
      }
      break;
    default:
      break;
  }
}

MouseState GraphicsX11::StateOf(unsigned int modifiers, unsigned int extraButton) const {
  MouseState state;
  state.L = (modifiers & Button1Mask) != 0 || extraButton == Button1;
  state.R = (modifiers & Button3Mask) != 0 || extraButton == Button3;
  state.S = (modifiers & ShiftMask) != 0;
  state.C = (modifiers & ControlMask) != 0;
  state.A = (modifiers & Mod1Mask) != 0;
  return state;
}

void GraphicsX11::OnButton(const XEvent& buttonEvent, bool press) {
  const XButtonEvent& event = buttonEvent.xbutton;
  const float scale = PixelScale();
  const float x = static_cast<float>(event.x) / scale;
  const float y = static_cast<float>(event.y) / scale;
  if (event.button == Button4 || event.button == Button5) {
    if (press) OnMouseWheel(x, y, StateOf(event.state), event.button == Button4 ? 1.0f : -1.0f);
    return;
  }
  if (event.button > Button3) return;
  lastPointerX_ = x;
  lastPointerY_ = y;
  if (!press) {
    MouseState state = StateOf(event.state);
    // The state lists the buttons held before this release.
    if (event.button == Button1) state.L = false;
    if (event.button == Button3) state.R = false;
    captured_ = false;
    OnMouseUp({PointerEvent{x, y, 0.0f, 0.0f, state}});
    return;
  }
  const MouseState state = StateOf(event.state, event.button);
  // Keys go where the user last clicked.
  XSetInputFocus(display_, window_, RevertToParent, event.time);
  if (doubleClick_.IsDoubleClick(event.button, event.x, event.y, event.time)) {
    if (OnMouseDblClick(x, y, state)) captured_ = true;
    return;
  }
  captured_ = true;
  OnMouseDown({PointerEvent{x, y, 0.0f, 0.0f, state}});
}

void GraphicsX11::OnMotion(const XEvent& motionEvent) {
  const XMotionEvent& event = motionEvent.xmotion;
  const float scale = PixelScale();
  const float x = static_cast<float>(event.x) / scale;
  const float y = static_cast<float>(event.y) / scale;
  const MouseState state = StateOf(event.state);
  if (captured_ && (state.L || state.R)) {
    const float dX = x - lastPointerX_;
    const float dY = y - lastPointerY_;
    lastPointerX_ = x;
    lastPointerY_ = y;
    if (dX == 0.0f && dY == 0.0f) return;
    OnMouseDrag({PointerEvent{x, y, dX, dY, state}});
    // A locked pointer goes back to where it was hidden; the move this causes arrives with no
    // distance and ends above.
    if (cursorLocked_ && window_) MovePointer(hiddenX_, hiddenY_);
    return;
  }
  lastPointerX_ = x;
  lastPointerY_ = y;
  OnMouseOver(x, y, state);
}

void GraphicsX11::OnKey(XEvent& keyEvent, bool press) {
  XKeyEvent& event = keyEvent.xkey;
  char text[8] = {};
  KeySym keySym = NoSymbol;
  const int length = XLookupString(&event, text, sizeof text, &keySym, nullptr);
  KeyEvent key;
  key.virtualKey = VirtualKeyFromKeySym(keySym);
  if (length == 1) SetLatin1Text(key, static_cast<unsigned char>(text[0]));
  key.S = (event.state & ShiftMask) != 0;
  key.C = (event.state & ControlMask) != 0;
  key.A = (event.state & Mod1Mask) != 0;
  const bool handled = press ? OnKeyDown(lastPointerX_, lastPointerY_, key)
                             : OnKeyUp(lastPointerX_, lastPointerY_, key);
  if (handled || !topLevel_ || !display_) return;
  // The host's shortcuts keep working while the editor has the focus.
  XEvent forward{};
  forward.xkey = event;
  forward.xkey.window = topLevel_;
  forward.xkey.subwindow = None;
  XSendEvent(display_, topLevel_, True, press ? KeyPressMask : KeyReleaseMask, &forward);
  XFlush(display_);
}

void GraphicsX11::GetPointerPosition(float& x, float& y) const {
  GetLastPointerPosition(x, y);
  if (!window_) return;
  Window root = 0;
  Window child = 0;
  int rootX = 0, rootY = 0, winX = 0, winY = 0;
  unsigned mask = 0;
  if (XQueryPointer(display_, window_, &root, &child, &rootX, &rootY, &winX, &winY, &mask)) {
    x = static_cast<float>(winX) / PixelScale();
    y = static_cast<float>(winY) / PixelScale();
  }
}

void GraphicsX11::MovePointer(float x, float y) {
  if (penInput_ || !window_) return;
  const double scale = PixelScale();
  if (!(scale > 0.0)) return;
  XWarpPointer(display_, None, window_, 0, 0, 0, 0, SaturateRound<int>(x * scale),
               SaturateRound<int>(y * scale));
  float px = x;
  float py = y;
  GetPointerPosition(px, py);
  lastPointerX_ = hiddenX_ = px;
  lastPointerY_ = hiddenY_ = py;
}

GraphicsX11::XId GraphicsX11::CursorFor(CursorShape shape) {
  auto index = static_cast<std::size_t>(shape);
  if (index >= cursors_.size()) index = 0;
  if (!cursors_[index]) cursors_[index] = XCreateFontCursor(display_, kCursorGlyphs[index]);
  return cursors_[index];
}

void GraphicsX11::ShowSystemPointer(bool visible) {
  if (!window_) return;
  if (visible) {
    XDefineCursor(display_, window_, CursorFor(ShownCursor()));
  } else {
    if (!invisibleCursor_) {
      static const char kEmpty[1] = {0};
      const Pixmap blank = XCreateBitmapFromData(display_, window_, kEmpty, 1, 1);
      XColor black{};
      invisibleCursor_ = XCreatePixmapCursor(display_, blank, blank, &black, &black, 0, 0);
      XFreePixmap(display_, blank);
    }
    XDefineCursor(display_, window_, invisibleCursor_);
  }
  XFlush(display_);
}

void GraphicsX11::ShowSystemCursor(CursorShape shape) {
  if (!window_ || cursorHidden_) return;
  XDefineCursor(display_, window_, CursorFor(shape));
  XFlush(display_);
}

bool GraphicsX11::OpenWebAddress(const char* address, const char* title, const char* confirmText,
                                 const char* failureText) {
  (void)title, (void)confirmText, (void)failureText;
  if (!address || !*address) return false;
  ReapStartedPrograms();
  char program[] = "xdg-open";
  std::vector<char> argument(address, address + std::strlen(address) + 1);
  char* argv[] = {program, argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return false;
  StartedPrograms().push_back(pid);
  return true;
}

}  // namespace plugkit::gfx
