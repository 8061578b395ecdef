#include "graphics/platform/X11Presenter.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

#include "graphics/platform/X11ErrorFilter.h"

namespace plugkit::gfx {

bool X11Presenter::Prepare(Display* display, Window window, int width, int height) {
  Release();
  if (!display || width <= 0 || height <= 0) return false;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  if (attributes.depth != 24 && attributes.depth != 32) return false;
  display_ = display;
  window_ = window;
  width_ = width;
  height_ = height;
  gc_ = XCreateGC(display, window, 0, nullptr);
  if (XShmQueryExtension(display) && AttachSharedMemory(attributes.visual, attributes.depth)) {
    return true;
  }
  // The image borrows each frame's pixels at Put time.
  image_ = XCreateImage(display, attributes.visual, static_cast<unsigned>(attributes.depth),
                        ZPixmap, 0, nullptr, static_cast<unsigned>(width),
                        static_cast<unsigned>(height), 32, width * 4);
  if (!image_) {
    Release();
    return false;
  }
  image_->byte_order = LSBFirst;
  return true;
}

bool X11Presenter::AttachSharedMemory(Visual* visual, int depth) {
  image_ = XShmCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &shm_,
                           static_cast<unsigned>(width_), static_cast<unsigned>(height_));
  if (!image_) return false;
  const size_t bytes = static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(height_);
  shm_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (shm_.shmid >= 0) {
    shm_.shmaddr = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
    // Marked for removal at once: the segment goes with the last detach, even after a crash.
    shmctl(shm_.shmid, IPC_RMID, nullptr);
  }
  if (shm_.shmid < 0 || shm_.shmaddr == reinterpret_cast<char*>(-1)) {
    shm_ = {};
    XDestroyImage(image_);
    image_ = nullptr;
    return false;
  }
  image_->data = shm_.shmaddr;
  shm_.readOnly = False;
  // A server that cannot reach the segment (a remote display) answers with an error.
  XSync(display_, False);
  const unsigned long errorsBefore = X11ErrorFilter::ErrorCount(display_);
  XShmAttach(display_, &shm_);
  XSync(display_, False);
  const bool attachFailed = X11ErrorFilter::ErrorCount(display_) != errorsBefore;
  if (attachFailed || image_->bits_per_pixel != 32) {
    image_->data = nullptr;
    XDestroyImage(image_);
    image_ = nullptr;
    if (!attachFailed) XShmDetach(display_, &shm_);
    shmdt(shm_.shmaddr);
    shm_ = {};
    return false;
  }
  shmAttached_ = true;
  return true;
}

void X11Presenter::Put(const std::uint8_t* pixels, int x, int y, int w, int h) {
  if (!image_ || !pixels) return;
  const int l = std::clamp(x, 0, width_);
  const int t = std::clamp(y, 0, height_);
  const int r = std::clamp(x + w, 0, width_);
  const int b = std::clamp(y + h, 0, height_);
  if (r <= l || b <= t) return;
  const auto rw = static_cast<unsigned>(r - l);
  const auto rh = static_cast<unsigned>(b - t);
  if (shmAttached_) {
    const size_t stride = static_cast<size_t>(width_) * 4;
    for (int row = t; row < b; ++row) {
      const size_t offset = static_cast<size_t>(row) * stride + static_cast<size_t>(l) * 4;
      std::memcpy(shm_.shmaddr + static_cast<size_t>(row) * image_->bytes_per_line + l * 4,
                  pixels + offset, static_cast<size_t>(rw) * 4);
    }
    XShmPutImage(display_, window_, gc_, image_, l, t, l, t, rw, rh, False);
    return;
  }
  image_->data = const_cast<char*>(reinterpret_cast<const char*>(pixels));
  XPutImage(display_, window_, gc_, image_, l, t, l, t, rw, rh);
  image_->data = nullptr;
}

void X11Presenter::Finish() {
  if (!display_) return;
  if (shmAttached_) {
    XSync(display_, False);
  } else {
    XFlush(display_);
  }
}

void X11Presenter::Release() {
  if (image_) {
    image_->data = nullptr;
    XDestroyImage(image_);
    image_ = nullptr;
  }
  if (shmAttached_) {
    XShmDetach(display_, &shm_);
    XSync(display_, False);
    shmdt(shm_.shmaddr);
    shm_ = {};
    shmAttached_ = false;
  }
  if (gc_) {
    XFreeGC(display_, gc_);
    gc_ = nullptr;
  }
  display_ = nullptr;
  window_ = 0;
  width_ = height_ = 0;
}

}  // namespace plugkit::gfx
