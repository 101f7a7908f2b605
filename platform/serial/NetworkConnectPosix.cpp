#include "platform/serial/NetworkConnect.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, left));
}

// One address: a non-blocking connect, waited for until the deadline.
int ConnectOne(const addrinfo& address, Clock::time_point deadline, int& error)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            address.ai_protocol);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) {
            error = errno;
            ::close(fd);
            return -1;
        }
        for (;;) {
            pollfd wait{fd, POLLOUT, 0};
            const int ready = ::poll(&wait, 1, MillisecondsLeft(deadline));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0) {
                error = ready == 0 ? ETIMEDOUT : errno;
                ::close(fd);
                return -1;
            }
            break;
        }
        int soError = 0;
        socklen_t length = sizeof soError;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) != 0)
            soError = errno;
        if (soError != 0) {
            error = soError;
            ::close(fd);
            return -1;
        }
    }
    // Frames are a few bytes each and wait for their reply: send them at once.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    error = 0;
    return fd;
}

} // namespace

int ConnectTcp(const std::string& host, int port, int timeoutMs, int& error)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* addresses = nullptr;
    const int lookup =
        ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses);
    if (lookup != 0) {
        switch (lookup) {
        case EAI_NONAME:
#ifdef EAI_NODATA
        case EAI_NODATA:
#endif
        case EAI_FAMILY:
            error = kErrorNoSuchHost;
            break;
        case EAI_SYSTEM:
            error = errno;
            break;
        default:
            error = kErrorLookupFailed;
            break;
        }
        return -1;
    }
    int fd = -1;
    error = kErrorNoSuchHost;
    bool firstError = true;
    for (const addrinfo* a = addresses; a && fd < 0; a = a->ai_next) {
        int attempt = 0;
        fd = ConnectOne(*a, deadline, attempt);
        // The first address's reason is the one to tell; later ones are only fall-backs.
        if (fd < 0 && (firstError || attempt == ETIMEDOUT)) {
            error = attempt;
            firstError = false;
        }
        if (fd < 0 && attempt == ETIMEDOUT)
            break;
    }
    ::freeaddrinfo(addresses);
    if (fd >= 0)
        error = 0;
    return fd;
}

} // namespace serial
