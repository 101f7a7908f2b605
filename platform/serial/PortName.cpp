#include "platform/serial/PortName.h"

#include <algorithm>
#include <cstdlib>

namespace serial {
namespace {

constexpr const char* kRfc2217Scheme = "rfc2217://";
constexpr const char* kSocketScheme = "socket://";

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

bool ParsePortNumber(const std::string& text, int& port)
{
    if (text.empty() || text.size() > 5)
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    port = std::atoi(text.c_str());
    return port >= 1 && port <= 65535;
}

bool ParseHostPort(const std::string& rest, PortAddress& address, std::string& problem)
{
    if (rest.empty()) {
        problem = "no host and port (HOST:PORT)";
        return false;
    }
    std::string host;
    std::string portText;
    if (rest[0] == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos) {
            problem = "the IPv6 address has no closing ']'";
            return false;
        }
        host = rest.substr(1, close - 1);
        if (close + 1 >= rest.size() || rest[close + 1] != ':') {
            problem = "no port (HOST:PORT)";
            return false;
        }
        portText = rest.substr(close + 2);
    } else {
        const auto colon = rest.rfind(':');
        if (colon == std::string::npos) {
            problem = "no port (HOST:PORT)";
            return false;
        }
        host = rest.substr(0, colon);
        portText = rest.substr(colon + 1);
        if (host.find(':') != std::string::npos) {
            problem = "an IPv6 address must stand in brackets ([ADDRESS]:PORT)";
            return false;
        }
    }
    if (host.empty()) {
        problem = "no host";
        return false;
    }
    for (const char c : host) {
        if (c == '/' || c == ' ' || c == '@' || static_cast<unsigned char>(c) < 0x20) {
            problem = "the host \"" + host + "\" is not a name or an address";
            return false;
        }
    }
    if (portText.empty()) {
        problem = "no port (HOST:PORT)";
        return false;
    }
    if (!ParsePortNumber(portText, address.port)) {
        problem = "port " + portText + " is not a number from 1 to 65535";
        return false;
    }
    address.host = host;
    return true;
}

} // namespace

bool ParsePortName(const std::string& name, PortAddress& address, std::string& problem)
{
    address = PortAddress{};
    address.name = name;
    problem.clear();
    if (name.empty()) {
        address.path = DevicePathForPort(name);
        problem = "no port name";
        return false;
    }
    if (StartsWith(name, kRfc2217Scheme)) {
        address.kind = PortNameKind::Rfc2217;
        return ParseHostPort(name.substr(std::char_traits<char>::length(kRfc2217Scheme)), address,
                             problem);
    }
    if (StartsWith(name, kSocketScheme)) {
        address.kind = PortNameKind::RawTcp;
        return ParseHostPort(name.substr(std::char_traits<char>::length(kSocketScheme)), address,
                             problem);
    }
    if (const auto scheme = name.find("://"); scheme != std::string::npos) {
        problem = "unknown kind of port \"" + name.substr(0, scheme + 3) +
                  "\" (rfc2217:// and socket:// are known)";
        return false;
    }
    address.path = DevicePathForPort(name);
    return true;
}

} // namespace serial
