#include "platform/camlink/SharedLibrary.h"

#include <dlfcn.h>

namespace camlink {

void* OpenSharedLibrary(const std::string& path, std::string& failure)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        failure = reason ? reason : path + ": cannot be loaded";
    }
    return handle;
}

void* FindSharedSymbol(void* library, const char* name)
{
    dlerror();
    return dlsym(library, name);
}

} // namespace camlink
