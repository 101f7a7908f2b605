#include "platform/serial/PortName.h"

#include <algorithm>
#include <cstdlib>

namespace serial {

std::string DevicePathForPort(const std::string& portName)
{
    if (portName.find('/') != std::string::npos)
        return portName;
    // Only "COM" and a plain number from 1 names a COM port: no sign, space or leading zero,
    // so that "COM+1" and "COM01" are not a second spelling of COM1.
    const std::size_t digits = portName.size() - std::min<std::size_t>(portName.size(), 3);
    if (digits >= 1 && digits <= 6 && portName.compare(0, 3, "COM") == 0 && portName[3] != '0' &&
        std::all_of(portName.begin() + 3, portName.end(),
                    [](char c) { return c >= '0' && c <= '9'; }))
        return "/dev/ttyS" + std::to_string(std::atol(portName.c_str() + 3) - 1);
    return "/dev/" + portName;
}

} // namespace serial
