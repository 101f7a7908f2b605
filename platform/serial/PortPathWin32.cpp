#include "platform/serial/PortName.h"

#include <algorithm>
#include <cctype>

namespace serial {

std::string DevicePathForPort(const std::string& portName)
{
    // "\\.\COM12" and any other path of the Win32 device space is used as it is.
    if (portName.rfind("\\\\", 0) == 0)
        return portName;
    // "COMn", in any case, and every other bare device name lie in that space: CreateFile
    // reaches COM10 and above only there.
    std::string name = portName;
    if (name.size() > 3 && std::equal(name.begin(), name.begin() + 3, "COM", [](char a, char b) {
            return std::toupper(static_cast<unsigned char>(a)) == b;
        }))
        name.replace(0, 3, "COM");
    return "\\\\.\\" + name;
}

} // namespace serial
