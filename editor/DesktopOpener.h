#pragma once

#include <string>

namespace quorvel {

// [main-thread] Hands a web address or a "file://" URL to the desktop's default application
// through xdg-open, as one argument and without a shell; does not wait for it. Returns
// whether xdg-open was started. `program` exists for tests.
bool OpenWithDesktop(const std::string& address, const char* program = "xdg-open");

}  // namespace quorvel
