#include "platform/serial/SystemPorts.h"

#include "platform/files/WideText.h"

#include <algorithm>
#include <cstdlib>

#include <windows.h>

namespace serial {
namespace {

// "COM12" sorts by 12; other names after every COM port, by name.
long PortNumber(const std::string& name)
{
    if (name.size() > 3 && name.compare(0, 3, "COM") == 0)
        return std::strtol(name.c_str() + 3, nullptr, 10);
    return 1L << 30;
}

} // namespace

std::vector<SystemPort> SystemSerialPorts()
{
    std::vector<SystemPort> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS)
        return ports;
    // A registry value name is at most 16,383 characters; a COM name far less.
    wchar_t device[16384];
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD deviceSize = 16384;
        DWORD nameBytes = sizeof name - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, device, &deviceSize, nullptr, &type,
                                            reinterpret_cast<BYTE*>(name), &nameBytes);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        name[nameBytes / sizeof(wchar_t)] = L'\0';
        std::wstring text(name);
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        ports.push_back({files::Utf8(text), files::Utf8(std::wstring(device, deviceSize))});
    }
    ::RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), [](const SystemPort& a, const SystemPort& b) {
        const long left = PortNumber(a.name), right = PortNumber(b.name);
        return left != right ? left < right : a.name < b.name;
    });
    return ports;
}

} // namespace serial
