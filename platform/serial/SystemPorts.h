// The serial ports the system itself lists. Windows keeps them in the registry
// (HKLM\HARDWARE\DEVICEMAP\SERIALCOMM: the driver's device and its COM name); Linux keeps no
// such list, and its ports are named by their device paths.
#pragma once

#include <string>
#include <vector>

namespace serial {

struct SystemPort {
    std::string name;   // "COM3": what --port takes
    std::string device; // the driver's device, "\Device\Serial0"
};

// In the order of their numbers (COM2 before COM10); empty where the system keeps no list.
std::vector<SystemPort> SystemSerialPorts();

} // namespace serial
