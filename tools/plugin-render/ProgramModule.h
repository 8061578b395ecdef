#pragma once

#include <initializer_list>
#include <string>

namespace quorvelRender {

// The module a program loads when no --plugin is given: the first of `candidates` (paths
// relative to the running program's folder, such as "../lib/clap/Quorvel.clap") that exists.
// When none does, the first, so that the error names where the installed module belongs.
std::string ModuleNearProgram(std::initializer_list<const char*> candidates);

}  // namespace quorvelRender
