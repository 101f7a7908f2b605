// Reaching a serial port served over the network: a TCP connection made within a time-out,
// and the named reasons a connection could not be made.
#pragma once

#include <string>

namespace serial {

// Open failures beyond errno values: the host name has no address, or the lookup failed.
inline constexpr int kErrorNoSuchHost = -1001;
inline constexpr int kErrorLookupFailed = -1002;

// Connects to host:port, trying each address the name resolves to, and gives up when
// timeoutMs have passed. Returns a connected, non-blocking socket, or -1 with error set (an
// errno value or one of the values above).
int ConnectTcp(const std::string& host, int port, int timeoutMs, int& error);

// "URL: connection refused" and the like.
std::string NetworkOpenFailureReason(int error, const std::string& url);

} // namespace serial
