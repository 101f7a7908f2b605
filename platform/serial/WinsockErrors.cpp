#include "platform/serial/WinsockErrors.h"

#include <cerrno>

#include <winsock2.h>

namespace serial {

int ErrnoOfSocketError(int wsaError)
{
    switch (wsaError) {
    case WSAECONNREFUSED:
        return ECONNREFUSED;
    case WSAETIMEDOUT:
        return ETIMEDOUT;
    case WSAENETUNREACH:
    case WSAENETDOWN:
        return ENETUNREACH;
    case WSAEHOSTUNREACH:
        return EHOSTUNREACH;
    case WSAECONNRESET:
    case WSAECONNABORTED:
    case WSAESHUTDOWN:
        return ECONNRESET;
    case WSAENOTCONN:
        return ENOTCONN;
    case WSAEWOULDBLOCK:
        return EWOULDBLOCK;
    case WSAEADDRNOTAVAIL:
        return EADDRNOTAVAIL;
    case WSAEMFILE:
    case WSAENOBUFS:
        return ENOBUFS;
    default:
        return EIO;
    }
}

bool StartWinsock()
{
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

} // namespace serial
