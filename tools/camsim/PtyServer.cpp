#include "tools/camsim/PtyServer.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace camsim {
namespace {

void WriteAll(int fd, const char* data, std::size_t n)
{
    while (n > 0) {
        const ssize_t sent = ::write(fd, data, n);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                pollfd p{fd, POLLOUT, 0};
                ::poll(&p, 1, 100);
                continue;
            }
            return; // the line is gone; the reply is lost as it would be on a cable
        }
        data += sent;
        n -= static_cast<std::size_t>(sent);
    }
}

} // namespace

PtyServer::PtyServer(Camera& camera) : m_camera(camera) {}

PtyServer::~PtyServer()
{
    Stop();
}

bool PtyServer::Start(std::string& failure)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        failure = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        Stop();
        return false;
    }
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        failure = std::string("ptsname: ") + std::strerror(errno);
        Stop();
        return false;
    }
    m_slavePath = name;
    // Raw from the start, so nothing is echoed or translated before a client configures it.
    termios tio{};
    if (::tcgetattr(m_master, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_master, TCSANOW, &tio);
    }
    m_slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        failure = std::string("pipe: ") + std::strerror(errno);
        Stop();
        return false;
    }
    m_stopRead = pipeFds[0];
    m_stopWrite = pipeFds[1];
    m_stopping = false;
    m_thread = std::thread(&PtyServer::Serve, this);
    return true;
}

void PtyServer::Stop()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard lock(m_stopMutex);
            m_stopping = true;
        }
        m_stopRequested.notify_all();
        const char byte = 0;
        [[maybe_unused]] ssize_t ignored = ::write(m_stopWrite, &byte, 1);
        m_thread.join();
    }
    for (int* fd : {&m_master, &m_slaveHold, &m_stopRead, &m_stopWrite}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

bool PtyServer::Pause(std::chrono::microseconds time)
{
    const auto until = std::chrono::steady_clock::now() + time;
    std::unique_lock lock(m_stopMutex);
    if (time.count() > 0)
        m_stopRequested.wait_until(lock, until, [this] { return m_stopping; });
    return !m_stopping;
}

void PtyServer::Send(const std::string& reply, std::size_t requestBytes)
{
    const Faults faults = m_camera.GetFaults();
    if (!Pause(std::chrono::milliseconds(faults.delayMs) +
               WireTime(faults.wireBaud, requestBytes, reply.size())))
        return;
    if (!faults.split) {
        WriteAll(m_master, reply.data(), reply.size());
        return;
    }
    for (char byte : reply) {
        WriteAll(m_master, &byte, 1);
        // long enough for the reader to see separate pieces
        if (!Pause(std::chrono::milliseconds(2)))
            return;
    }
}

void PtyServer::Serve()
{
    // Replies leave at their wire time to the microsecond, not up to the default slack late.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    char buffer[256];
    for (;;) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_stopRead, POLLIN, 0}};
        const int timeout = m_camera.HasPendingRequest() ? kIdleMs : -1;
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        if (ready == 0) {
            for (const std::string& reply : m_camera.Idle())
                Send(reply, 4);
            continue;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) {
                for (const std::string& reply :
                     m_camera.Feed(reinterpret_cast<const std::uint8_t*>(buffer),
                                   static_cast<std::size_t>(n)))
                    Send(reply, static_cast<std::size_t>(n));
                continue;
            }
        }
        if (fds[0].revents & (POLLHUP | POLLERR)) {
            // No client holds the slave: wait for the next one without spinning.
            if (!Pause(std::chrono::milliseconds(kIdleMs)))
                return;
        }
    }
}

} // namespace camsim
