#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>

namespace plugkit::gfx {

// Puts areas of a 32-bit BGRA frame into a window: through a shared-memory image when the
// server offers MIT-SHM on this machine, else through XPutImage from the frame itself.
class X11Presenter {
 public:
  X11Presenter() = default;
  ~X11Presenter() { Release(); }
  X11Presenter(const X11Presenter&) = delete;
  X11Presenter& operator=(const X11Presenter&) = delete;

  // [main-thread] Prepares for frames of width × height pixels; false when the window's
  // visual cannot show 32-bit pixels.
  bool Prepare(Display* display, Window window, int width, int height);
  // [main-thread] Copies the area (pixels, clipped to the frame) from `pixels` (stride
  // width × 4) to the same place in the window. Nothing happens before Prepare.
  void Put(const std::uint8_t* pixels, int x, int y, int w, int h);
  // [main-thread] Sends the areas put so far; with shared memory, waits until the server has
  // read them, since the next frame writes into the same segment.
  void Finish();
  // [main-thread] Frees the image and the shared segment; the display stays open.
  void Release();

  bool UsesSharedMemory() const { return shmAttached_; }

 private:
  bool AttachSharedMemory(Visual* visual, int depth);

  Display* display_ = nullptr;
  Window window_ = 0;
  GC gc_ = nullptr;
  XImage* image_ = nullptr;
  XShmSegmentInfo shm_{};
  bool shmAttached_ = false;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace plugkit::gfx
