#include "platform/camlink/SharedLibrary.h"

#include "platform/files/WideText.h"

#include <windows.h>

namespace camlink {

void* OpenSharedLibrary(const std::string& path, std::string& failure)
{
    // A library that cannot be found or loaded is reported, never asked about in a box.
    const UINT before = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = ::LoadLibraryW(files::Wide(path).c_str());
    const DWORD code = ::GetLastError();
    ::SetErrorMode(before);
    if (module)
        return reinterpret_cast<void*>(module);
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? files::Utf8(text) : "error " + std::to_string(code);
    if (text)
        ::LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    failure = path + ": cannot be loaded: " + reason;
    return nullptr;
}

void* FindSharedSymbol(void* library, const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

} // namespace camlink
