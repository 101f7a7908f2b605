#include "platform/serial/WaitWritable.h"

#include <cerrno>
#include <chrono>

#include <poll.h>

namespace serial {

WriteOutcome WriteWithin(int fd, PutBytes put, const std::uint8_t* data, int n, int timeoutMs,
                         int& written, int& errorCode)
{
    using Clock = std::chrono::steady_clock;
    written = 0;
    errorCode = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    bool started = false;
    while (written < n) {
        const ssize_t sent = put(fd, data + written, static_cast<std::size_t>(n - written));
        if (sent > 0) {
            written += static_cast<int>(sent);
            started = true;
            continue;
        }
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            errorCode = errno;
            return started ? WriteOutcome::Failed : WriteOutcome::Refused;
        }
        started = true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break; // the caller compares the count
        pollfd entry{fd, POLLOUT, 0};
        if (::poll(&entry, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
            errorCode = errno;
            return WriteOutcome::Failed;
        }
    }
    return WriteOutcome::Completed;
}

} // namespace serial
