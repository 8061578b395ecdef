#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

struct HWND__;
struct HDC__;

namespace plugkit::gfx {

// The editor's frame clock on Windows: a time-critical thread that waits for each vertical
// blank of the window's display and posts kTickMessage, with its blank count as wParam, to
// the window. Where the driver functions for that wait are missing it sleeps 16 ms instead.
class WinFrameClock {
 public:
  static constexpr unsigned kTickMessage = 0x0401;  // WM_USER + 1
  static constexpr unsigned long kStopTimeoutMs = 10000;

  WinFrameClock() = default;
  ~WinFrameClock() { Stop(); }
  WinFrameClock(const WinFrameClock&) = delete;
  WinFrameClock& operator=(const WinFrameClock&) = delete;

  // [main-thread] Starts the thread for a window and its own device context; false when no
  // thread could be made.
  bool Start(HWND__* window, HDC__* deviceContext);
  // [main-thread] Asks the thread to end and waits for it (at most kStopTimeoutMs).
  void Stop();
  bool IsRunning() const { return thread_ != nullptr; }
  // [thread-safe] Blanks counted so far.
  std::uint32_t Count() const;

  // Whether this Windows (6.2 and later) paces frames by the display; tested once.
  static bool SystemSupportsVSync();

  // The thread's state, shared with it so that a thread outliving the wait never reaches a
  // destroyed clock.
  struct Shared {
    std::atomic<bool> shutdown{false};
    std::atomic<std::uint32_t> count{0};
    HWND__* window = nullptr;
    HDC__* deviceContext = nullptr;
  };

 private:
  std::shared_ptr<Shared> shared_;
  void* thread_ = nullptr;
};

}  // namespace plugkit::gfx
