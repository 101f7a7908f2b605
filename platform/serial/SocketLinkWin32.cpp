// The socket under a network serial device on Winsock: the socket's read and close events go
// to an event object (WSAEventSelect), which is the descriptor the reply wait blocks on; a
// second event wakes a wait when the event mask is cleared.
#include "platform/serial/SocketLink.h"

#include "platform/serial/NetworkConnect.h"
#include "platform/serial/WinsockErrors.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <winsock2.h>

namespace serial {
namespace {

SOCKET SocketOf(int fd)
{
    return static_cast<SOCKET>(static_cast<unsigned>(fd));
}

HANDLE EventOf(int handle)
{
    return LongToHandle(handle);
}

std::string SocketErrorText(int wsaError)
{
    switch (wsaError) {
    case WSAECONNRESET:
    case WSAECONNABORTED:
        return "connection reset by the server";
    case WSAENETDOWN:
    case WSAENETUNREACH:
        return "network unreachable";
    case WSAETIMEDOUT:
        return "the connection timed out";
    default:
        return "socket error " + std::to_string(wsaError);
    }
}

} // namespace

int SocketLink::Connect(const PortAddress& address, int timeoutMs)
{
    Close();
    if (address.kind == PortNameKind::Device)
        return EINVAL;
    int error = 0;
    const int fd = ConnectTcp(address.host, address.port, timeoutMs, error);
    if (fd < 0)
        return error;
    const WSAEVENT network = ::WSACreateEvent();
    const HANDLE wake = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (network == WSA_INVALID_EVENT || !wake ||
        ::WSAEventSelect(SocketOf(fd), network, FD_READ | FD_CLOSE) != 0) {
        if (network != WSA_INVALID_EVENT)
            ::WSACloseEvent(network);
        if (wake)
            ::CloseHandle(wake);
        ::closesocket(SocketOf(fd));
        return ENOBUFS;
    }
    m_fd = fd;
    m_wakeRead = HandleToLong(wake);
    m_wakeWrite = HandleToLong(network);
    m_mask.store(0);
    std::lock_guard lock(m_lostMutex);
    m_lost.clear();
    return 0;
}

void SocketLink::Close()
{
    if (m_fd >= 0)
        ::closesocket(SocketOf(m_fd));
    if (m_wakeRead >= 0)
        ::CloseHandle(EventOf(m_wakeRead));
    if (m_wakeWrite >= 0)
        ::WSACloseEvent(EventOf(m_wakeWrite));
    m_fd = m_wakeRead = m_wakeWrite = -1;
}

int SocketLink::ReadableDescriptor() const
{
    return m_wakeWrite;
}

void SocketLink::SetEventMask(unsigned mask)
{
    m_mask.store(mask);
    if (m_wakeRead < 0)
        return;
    if (mask == 0)
        ::SetEvent(EventOf(m_wakeRead));
    else
        ::ResetEvent(EventOf(m_wakeRead));
}

SocketLink::Wait SocketLink::WaitReadable(int timeoutMs)
{
    // The wake-up comes first: a socket that keeps bringing bytes must not hide it.
    HANDLE handles[2] = {EventOf(m_wakeRead), EventOf(m_wakeWrite)};
    const DWORD woken = ::WaitForMultipleObjects(
        2, handles, FALSE, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    if (woken == WAIT_TIMEOUT)
        return Wait::TimedOut;
    if (woken == WAIT_OBJECT_0 && m_mask.load() == 0) {
        // Taken, as the POSIX side drains its pipe: the next wait blocks again.
        ::ResetEvent(EventOf(m_wakeRead));
        return Wait::Woken;
    }
    if (woken == WAIT_FAILED)
        MarkLost("the wait on the socket failed");
    return Wait::Readable; // data, an end of stream or an error: Receive tells which
}

int SocketLink::Peek()
{
    std::uint8_t byte;
    return Receive(&byte, 1, MSG_PEEK);
}

int SocketLink::PeekBytes(std::uint8_t* buffer, int max)
{
    return Receive(buffer, max, MSG_PEEK);
}

int SocketLink::Receive(std::uint8_t* buffer, int max, int flags)
{
    if (IsLost())
        return -1;
    // Reset before the receive: Winsock signals the event again when bytes remain after it, or
    // when more come, so the event is set exactly while a receive may find something.
    if (!(flags & MSG_PEEK))
        ::WSAResetEvent(EventOf(m_wakeWrite));
    const int n = ::recv(SocketOf(m_fd), reinterpret_cast<char*>(buffer), max, flags);
    if (n > 0)
        return n;
    if (n == 0) {
        MarkLost("connection closed by the server");
        return -1;
    }
    const int error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK)
        return 0;
    MarkLost(SocketErrorText(error));
    return -1;
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
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (written < n) {
        const int sent =
            ::send(SocketOf(m_fd), reinterpret_cast<const char*>(data + written), n - written, 0);
        if (sent > 0) {
            written += sent;
            continue;
        }
        const int error = ::WSAGetLastError();
        if (sent < 0 && error != WSAEWOULDBLOCK) {
            errorCode = ErrnoOfSocketError(error);
            MarkLost(error == WSAECONNRESET || error == WSAECONNABORTED
                         ? "connection closed by the server"
                         : SocketErrorText(error));
            return written == 0 ? WriteOutcome::Refused : WriteOutcome::Failed;
        }
        // The socket's buffer is full: wait for room, as long as the write time-out allows.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            break;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(SocketOf(m_fd), &writable);
        timeval wait{static_cast<long>(left / 1000), static_cast<long>((left % 1000) * 1000)};
        if (::select(0, nullptr, &writable, nullptr, &wait) <= 0)
            break;
    }
    return WriteOutcome::Completed;
}

int SocketLink::Pending() const
{
    u_long count = 0;
    if (m_fd < 0 || ::ioctlsocket(SocketOf(m_fd), FIONREAD, &count) != 0)
        return 0;
    return static_cast<int>(count);
}

} // namespace serial
