#include "graphics/platform/X11ErrorFilter.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace plugkit::gfx {
namespace {

std::mutex& Lock() {
  static std::mutex mutex;
  return mutex;
}
std::vector<std::pair<Display*, unsigned long>>& Watched() {
  static std::vector<std::pair<Display*, unsigned long>> displays;
  return displays;
}
XErrorHandler previousHandler = nullptr;
bool installed = false;

int FilterError(Display* display, XErrorEvent* event) {
  XErrorHandler chained = nullptr;
  {
    std::lock_guard lock(Lock());
    for (auto& [watched, count] : Watched()) {
      if (watched == display) {
        ++count;
        return 0;
      }
    }
    chained = previousHandler;
  }
  return chained ? chained(display, event) : 0;
}

}  // namespace

void X11ErrorFilter::Watch(Display* display) {
  std::lock_guard lock(Lock());
  Watched().emplace_back(display, 0ul);
  if (!installed) {
    XErrorHandler current = XSetErrorHandler(FilterError);
    // A handler installed after ours may still chain to it: keep the one we replaced.
    if (current != FilterError) previousHandler = current;
    installed = true;
  }
}

void X11ErrorFilter::Unwatch(Display* display) {
  std::lock_guard lock(Lock());
  auto& displays = Watched();
  displays.erase(std::remove_if(displays.begin(), displays.end(),
                                [display](const auto& entry) { return entry.first == display; }),
                 displays.end());
  if (displays.empty() && installed) {
    XErrorHandler current = XSetErrorHandler(previousHandler);
    // Someone installed a handler over ours: leave theirs in place.
    if (current != FilterError) XSetErrorHandler(current);
    installed = false;
  }
}

unsigned long X11ErrorFilter::ErrorCount(Display* display) {
  std::lock_guard lock(Lock());
  for (const auto& [watched, count] : Watched()) {
    if (watched == display) return count;
  }
  return 0;
}

}  // namespace plugkit::gfx
