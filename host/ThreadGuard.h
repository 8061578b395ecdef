#pragma once

#include "host/ClapAdapter.h"

// The first line of a host-facing function: in builds with thread checks, a call on a thread
// the rule forbids is logged and returns what follows the function's name (nothing for a void
// function). Without them it is nothing at all: the shipped module pays nothing.
#ifdef PLUGKIT_THREAD_CHECKS
#define PLUGKIT_THREAD_GUARD(plugin, rule, function, ...)                                        \
  do {                                                                                           \
    const ::plugkit::ClapAdapter* threadGuardAdapter = ::plugkit::ClapAdapter::FromClap(plugin); \
    if (threadGuardAdapter && !threadGuardAdapter->Host().FollowsThreadRule(rule, function)) {   \
      return __VA_ARGS__;                                                                        \
    }                                                                                            \
  } while (false)
#else
#define PLUGKIT_THREAD_GUARD(plugin, rule, function, ...) static_cast<void>(plugin)
#endif
