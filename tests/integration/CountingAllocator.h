// Counts the heap allocations and mutex locks a thread makes. The source that goes with this
// header replaces the global operator new and interposes pthread_mutex_lock for the whole
// process (a loaded module resolves both from the executable), so a program linking it must be
// built with exported symbols and share it with nothing else.

#pragma once

#include <utility>

namespace countingAllocator {

// Counting on this thread, from zero.
void Start();
// Stops counting; the allocations and locks since Start.
std::pair<int, int> Stop();

// The allocations and locks of one call made on this thread.
template <class Call>
std::pair<int, int> Count(Call&& call) {
  Start();
  call();
  return Stop();
}

}  // namespace countingAllocator
