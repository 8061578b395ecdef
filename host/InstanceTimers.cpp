#include "host/InstanceTimers.h"

#ifdef _WIN32
#include "framework/MessageLoopTimers.h"
#endif

namespace plugkit {

#ifdef _WIN32

bool UsesHostTimers() { return false; }

TimerHost& InstanceTimers(HostTimer&) { return MessageLoopTimers(); }

#else

bool UsesHostTimers() { return true; }

TimerHost& InstanceTimers(HostTimer& hostTimers) { return hostTimers; }

#endif

}  // namespace plugkit
