#pragma once

namespace plugkit::gfx {

// [thread-safe] Cairo's first call, made while a module starts: a statically linked Cairo on
// Windows sets its internal locks up lazily, and deadlocks when the first call that needs them
// is a font-face creation. Creating and destroying a tiny image surface sets them up.
void StartCairo();

}  // namespace plugkit::gfx
