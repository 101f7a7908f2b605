#include "platform/serial/NetworkDevices.h"

namespace serial {

std::unique_ptr<ISerialDevice> CreateDeviceForPort(const std::string& portName, int timeoutMs)
{
    if (portName.rfind("rfc2217://", 0) == 0)
        return CreateRfc2217Device(timeoutMs);
    if (portName.rfind("socket://", 0) == 0)
        return CreateRawTcpDevice(timeoutMs);
    return CreateTermiosDevice();
}

} // namespace serial
