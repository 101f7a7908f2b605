#include "platform/wait/Wait.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace waiting {
namespace {

class PollWaiter final : public IWaiter {
public:
    WaitResult WaitReadable(int fd, Clock::time_point deadline, const CancelFlag& cancel) override
    {
        for (;;) {
            if (cancel.Requested())
                return WaitResult::Cancelled;
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return WaitResult::TimedOut;
            pollfd entries[2] = {{fd, POLLIN, 0}, {cancel.Descriptor(), POLLIN, 0}};
            const nfds_t count = cancel.Descriptor() >= 0 ? 2 : 1;
            const int timeout = static_cast<int>(std::min<long long>(left, 1 << 30));
            const int ready = ::poll(entries, count, timeout);
            if (ready > 0 && entries[0].revents != 0)
                return WaitResult::Readable;
            if (ready < 0 && errno != EINTR)
                return WaitResult::Failed;
        }
    }

    std::chrono::milliseconds Slice() const override { return std::chrono::milliseconds::max(); }

    bool Pump(const CancelFlag& cancel) override { return !cancel.Requested(); }
};

} // namespace

CancelFlag::CancelFlag() : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CancelFlag::~CancelFlag()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void CancelFlag::Request()
{
    // The descriptor is signalled before the flag is set, so that a Clear that finds the flag
    // set always drains it; one that finds it clear may leave it signalled, and a cancel with
    // it, which a request meeting a clear could always do.
    if (m_fd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_fd, &one, sizeof one);
    }
    m_requested.store(true, std::memory_order_release);
}

void CancelFlag::Clear()
{
    // Every action clears twice: the descriptor is read only when there is a request to drain.
    if (m_requested.exchange(false, std::memory_order_acq_rel) && m_fd >= 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_fd, &count, sizeof count);
    }
}

bool HungUp(int fd)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0 && (entry.revents & POLLHUP);
}

IWaiter& DefaultWaiter()
{
    static PollWaiter waiter;
    return waiter;
}

} // namespace waiting
