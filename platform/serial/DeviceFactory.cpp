#include "platform/serial/NetworkDevices.h"

namespace serial {

std::unique_ptr<ISerialDevice> CreateDevice(const PortAddress& address, int timeoutMs)
{
    switch (address.kind) {
    case PortNameKind::Rfc2217:
        return CreateRfc2217Device(timeoutMs);
    case PortNameKind::RawTcp:
        return CreateRawTcpDevice(timeoutMs);
    case PortNameKind::Device:
        break;
    }
    return CreateLocalDevice();
}

} // namespace serial
