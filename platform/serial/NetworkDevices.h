// Serial ports reached over the network, beside the termios device, and the choice between
// them by port name.
#pragma once

#include "platform/serial/SerialDevice.h"

#include <memory>
#include <string>

namespace serial {

// An RFC 2217 client. Connecting, and waiting for the server's answers at open, take at most
// timeoutMs each.
std::unique_ptr<ISerialDevice> CreateRfc2217Device(int timeoutMs);
// A raw TCP socket; connecting takes at most timeoutMs.
std::unique_ptr<ISerialDevice> CreateRawTcpDevice(int timeoutMs);

// The device a port name stands for: "rfc2217://..." and "socket://..." are network ports,
// any other name a local device. Its Open takes the name itself for a network port.
std::unique_ptr<ISerialDevice> CreateDeviceForPort(const std::string& portName, int timeoutMs);

} // namespace serial
