// What a port name typed by the user stands for: a local serial device, or a serial port served
// over the network (RFC 2217 telnet COM-port control, or a raw TCP socket).
#pragma once

#include <string>

namespace serial {

enum class PortNameKind { Device, Rfc2217, RawTcp };

struct PortAddress {
    PortNameKind kind = PortNameKind::Device;
    std::string name; // as the user gave it
    std::string path; // Device: the device path to open
    std::string host; // network kinds: a name or an address, without IPv6 brackets
    int port = 0;     // network kinds: 1..65535

    // What messages call the port: the device path, or the network port's name.
    const std::string& Shown() const { return kind == PortNameKind::Device ? path : name; }
};

// Reads a port name: "rfc2217://HOST:PORT", "socket://HOST:PORT" (HOST a name, an IPv4
// address or a bracketed IPv6 address), "COMn", an absolute or relative path (used as it is),
// or a bare device name (under /dev). Returns false with what is wrong when the name is
// malformed; an empty name is one, though its address still names the device "/dev/".
bool ParsePortName(const std::string& name, PortAddress& address, std::string& problem);

// The device path of a local port name: "COMn" (n >= 1) is /dev/ttyS(n-1), a name with a '/'
// is a path already, a bare name lies under /dev.
std::string DevicePathForPort(const std::string& portName);

} // namespace serial
