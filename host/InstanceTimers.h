#pragma once

#include "framework/Timer.h"
#include "host/HostTimer.h"

namespace plugkit {

// Where an instance's timers tick. A Linux plug-in has no event loop of its own: its timers
// run on the host's timer-support extension (HostTimer), which it offers on_timer for. A
// Windows plug-in keeps its own timers on the message loop of the host's main thread and
// offers no timer-support.
bool UsesHostTimers();

// [main-thread] `hostTimers` on Linux; the message loop's timers on Windows.
TimerHost& InstanceTimers(HostTimer& hostTimers);

}  // namespace plugkit
