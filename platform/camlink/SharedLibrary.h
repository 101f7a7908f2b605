// Loading a library at run time and finding its functions: dlopen on POSIX, LoadLibrary on
// Windows.
#pragma once

#include <string>

namespace camlink {

// The library at path (a name alone is looked up the system's way); nullptr with the system's
// reason in failure. It stays loaded for the rest of the run.
void* OpenSharedLibrary(const std::string& path, std::string& failure);
// The address of an exported function, nullptr when the library has none of that name.
void* FindSharedSymbol(void* library, const char* name);

} // namespace camlink
