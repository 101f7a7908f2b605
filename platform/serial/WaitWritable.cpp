#include "platform/serial/WaitWritable.h"

#include <cerrno>

#include <poll.h>

namespace serial {

WritableWait WaitWritable(int fd, std::chrono::steady_clock::time_point deadline, int& errorCode)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0)
        return WritableWait::TimedOut;
    pollfd entry{fd, POLLOUT, 0};
    if (::poll(&entry, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
        errorCode = errno;
        return WritableWait::Failed;
    }
    return WritableWait::Writable;
}

} // namespace serial
