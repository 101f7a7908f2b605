#include "platform/serial/SystemPorts.h"

namespace serial {

std::vector<SystemPort> SystemSerialPorts()
{
    return {};
}

} // namespace serial
