#pragma once

#include <X11/Xlib.h>

namespace plugkit::gfx {

// Xlib's default error handler ends the process. While an editor's display is watched, its
// errors (a host that destroyed the parent window first, a server that cannot attach shared
// memory) are counted instead; errors of every other connection in the host still go to the
// handler that was installed before.
class X11ErrorFilter {
 public:
  // [main-thread]
  static void Watch(Display* display);
  // [main-thread]
  static void Unwatch(Display* display);
  // [main-thread] Errors received for the display since it was watched (after an XSync, all
  // of them).
  static unsigned long ErrorCount(Display* display);
};

}  // namespace plugkit::gfx
