#include "framework/MessageLoopTimers.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace plugkit {
namespace {

class ThreadTimerHost final : public TimerHost {
 public:
  bool Register(uint32_t periodMs, uint32_t& id) override {
    const UINT_PTR made = SetTimer(nullptr, 0, periodMs, &Tick);
    if (made == 0) return false;
    id = static_cast<uint32_t>(made);
    return true;
  }
  void Unregister(uint32_t id) override { KillTimer(nullptr, id); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    PlatformTimer::OnPlatformTick(MessageLoopTimers(), static_cast<uint32_t>(id));
  }
};

}  // namespace

TimerHost& MessageLoopTimers() {
  // Lives for the whole process: a timer may be stopped during static destruction.
  static auto* timers = new ThreadTimerHost;
  return *timers;
}

}  // namespace plugkit
