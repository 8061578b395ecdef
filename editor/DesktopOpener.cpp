#include "editor/DesktopOpener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <system_error>
#include <thread>

extern char** environ;

namespace quorvel {

bool OpenWithDesktop(const std::string& address, const char* program) {
  // An address starting with "-" would be taken for an option.
  if (address.empty() || address.front() == '-' || !program) return false;
  std::string name = program;
  std::string argument = address;
  char* argv[] = {name.data(), argument.data(), nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return false;
  // Reaped in the background so that no zombie is left and the host never waits.
  try {
    std::thread([pid] {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // Without a thread the child stays a zombie until the host exits; still opened.
  }
  return true;
}

}  // namespace quorvel
