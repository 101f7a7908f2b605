// Serial ports reached over the network, beside the termios device, and the choice between
// them by the kind of port address.
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

// The device of the address's kind, to be opened with that address.
std::unique_ptr<ISerialDevice> CreateDevice(const PortAddress& address, int timeoutMs);

} // namespace serial
