#pragma once

#include "framework/Timer.h"

namespace plugkit {

// [main-thread] Windows: the platform primitive behind PlatformTimer. Each timer is a thread
// timer (SetTimer without a window) of the calling thread's message loop, which ticks it on
// that thread; one process-wide object, so the identifiers Windows hands out never meet.
TimerHost& MessageLoopTimers();

}  // namespace plugkit
