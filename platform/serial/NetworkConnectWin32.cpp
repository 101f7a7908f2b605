#include "platform/serial/NetworkConnect.h"

#include "platform/serial/WinsockErrors.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include <winsock2.h>
#include <ws2tcpip.h>

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, left));
}

// One address: a non-blocking connect, waited for in select() until the deadline.
SOCKET ConnectOne(const addrinfo& address, Clock::time_point deadline, int& error)
{
    const SOCKET s = ::WSASocketW(address.ai_family, address.ai_socktype, address.ai_protocol,
                                  nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET) {
        error = ErrnoOfSocketError(::WSAGetLastError());
        return INVALID_SOCKET;
    }
    u_long nonBlocking = 1;
    ::ioctlsocket(s, FIONBIO, &nonBlocking);
    if (::connect(s, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        if (::WSAGetLastError() != WSAEWOULDBLOCK) {
            error = ErrnoOfSocketError(::WSAGetLastError());
            ::closesocket(s);
            return INVALID_SOCKET;
        }
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        const int left = MillisecondsLeft(deadline);
        timeval wait{left / 1000, (left % 1000) * 1000};
        const int ready = ::select(0, nullptr, &writable, &failed, &wait);
        if (ready <= 0) {
            error = ready == 0 ? ETIMEDOUT : ErrnoOfSocketError(::WSAGetLastError());
            ::closesocket(s);
            return INVALID_SOCKET;
        }
        int soError = 0;
        int length = sizeof soError;
        if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &length) != 0)
            soError = ::WSAGetLastError();
        if (soError != 0 || FD_ISSET(s, &failed)) {
            error = ErrnoOfSocketError(soError != 0 ? soError : WSAECONNREFUSED);
            ::closesocket(s);
            return INVALID_SOCKET;
        }
    }
    // Frames are a few bytes each and wait for their reply: send them at once.
    const BOOL on = TRUE;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    error = 0;
    return s;
}

} // namespace

int ConnectTcp(const std::string& host, int port, int timeoutMs, int& error)
{
    if (!StartWinsock()) {
        error = ENETUNREACH;
        return -1;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* addresses = nullptr;
    const int lookup =
        ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses);
    if (lookup != 0) {
        error = lookup == WSAHOST_NOT_FOUND || lookup == WSANO_DATA || lookup == EAI_FAMILY
                    ? kErrorNoSuchHost
                    : kErrorLookupFailed;
        return -1;
    }
    SOCKET s = INVALID_SOCKET;
    error = kErrorNoSuchHost;
    bool firstError = true;
    for (const addrinfo* a = addresses; a && s == INVALID_SOCKET; a = a->ai_next) {
        int attempt = 0;
        s = ConnectOne(*a, deadline, attempt);
        // The first address's reason is the one to tell; later ones are only fall-backs.
        if (s == INVALID_SOCKET && (firstError || attempt == ETIMEDOUT)) {
            error = attempt;
            firstError = false;
        }
        if (s == INVALID_SOCKET && attempt == ETIMEDOUT)
            break;
    }
    ::freeaddrinfo(addresses);
    if (s == INVALID_SOCKET)
        return -1;
    error = 0;
    // A socket is a kernel handle, and handles fit in 32 bits.
    return static_cast<int>(s);
}

} // namespace serial
