#pragma once

#include <string>

namespace clapHost {

// The platform's loader behind three calls: dlopen on Linux, LoadLibraryW on Windows. Paths
// are UTF-8. Every call is [main-thread].

// Loads the library at path, resolving everything now. Null, with error set, on failure.
void* OpenSharedLibrary(const std::string& path, std::string& error);
// The address of an exported symbol, or null.
void* FindExportedSymbol(void* library, const char* name);
void CloseSharedLibrary(void* library);

}  // namespace clapHost
