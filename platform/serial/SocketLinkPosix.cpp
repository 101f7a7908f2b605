#include "platform/serial/SocketLink.h"

#include "platform/serial/NetworkConnect.h"
#include "platform/serial/WaitWritable.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace serial {

int SocketLink::Connect(const PortAddress& address, int timeoutMs)
{
    Close();
    if (address.kind == PortNameKind::Device)
        return EINVAL;
    int error = 0;
    const int fd = ConnectTcp(address.host, address.port, timeoutMs, error);
    if (fd < 0)
        return error;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = errno;
        ::close(fd);
        return error;
    }
    m_fd = fd;
    m_wakeRead = pipeFds[0];
    m_wakeWrite = pipeFds[1];
    m_mask.store(0);
    std::lock_guard lock(m_lostMutex);
    m_lost.clear();
    return 0;
}

void SocketLink::Close()
{
    for (int* fd : {&m_fd, &m_wakeRead, &m_wakeWrite}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void SocketLink::SetEventMask(unsigned mask)
{
    m_mask.store(mask);
    if (mask == 0 && m_wakeWrite >= 0) {
        const char byte = 0;
        // A full pipe already holds a wake-up; nothing is lost when this write fails.
        [[maybe_unused]] ssize_t ignored = ::write(m_wakeWrite, &byte, 1);
    }
}

SocketLink::Wait SocketLink::WaitReadable(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            wait = static_cast<int>(std::max<long long>(0, left.count()));
        }
        const int ready = ::poll(fds, 2, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0) {
            MarkLost(std::strerror(errno));
            return Wait::Readable; // the next Receive reports the loss
        }
        if (ready == 0)
            return Wait::TimedOut;
        if (fds[1].revents) {
            char drain[16];
            while (::read(m_wakeRead, drain, sizeof drain) > 0) {
            }
            return Wait::Woken;
        }
        return Wait::Readable; // data, an end of stream or an error: Receive tells which
    }
}

int SocketLink::Peek()
{
    std::uint8_t byte;
    return Receive(&byte, 1, MSG_PEEK);
}

int SocketLink::Receive(std::uint8_t* buffer, int max, int flags)
{
    if (IsLost())
        return -1;
    for (;;) {
        const ssize_t n = ::recv(m_fd, buffer, static_cast<size_t>(max), MSG_DONTWAIT | flags);
        if (n > 0)
            return static_cast<int>(n);
        if (n == 0) {
            MarkLost("connection closed by the server");
            return -1;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        MarkLost(errno == ECONNRESET ? "connection reset by the server" : std::strerror(errno));
        return -1;
    }
}

WriteOutcome SocketLink::Send(const std::uint8_t* data, int n, int timeoutMs, int& written,
                              int& errorCode)
{
    written = 0;
    errorCode = 0;
    if (IsLost()) {
        errorCode = ENOTCONN;
        return WriteOutcome::Refused;
    }
    const PutBytes put = [](int fd, const std::uint8_t* bytes, std::size_t count) {
        return ::send(fd, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT);
    };
    const WriteOutcome outcome = WriteWithin(m_fd, put, data, n, timeoutMs, written, errorCode);
    if (outcome != WriteOutcome::Completed)
        MarkLost(errorCode == EPIPE || errorCode == ECONNRESET ? "connection closed by the server"
                                                               : std::strerror(errorCode));
    return outcome;
}

int SocketLink::Pending() const
{
    int count = 0;
    if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &count) != 0)
        return 0;
    return count;
}

int SocketLink::PeekBytes(std::uint8_t* buffer, int max)
{
    return Receive(buffer, max, MSG_PEEK);
}

int SocketLink::ReadableDescriptor() const
{
    return m_fd;
}

} // namespace serial
