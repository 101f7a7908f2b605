#include "platform/wait/Wait.h"

#include <algorithm>
#include <atomic>
#include <cerrno>

#include <poll.h>

namespace waiting {
namespace {

class PollWaiter final : public IWaiter {
public:
    WaitResult WaitReadable(int fd, Clock::time_point deadline) override
    {
        for (;;) {
            if (CancelRequested())
                return WaitResult::Cancelled;
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return WaitResult::TimedOut;
            pollfd entry{fd, POLLIN, 0};
            const int timeout = static_cast<int>(std::min<long long>(left, 1 << 30));
            const int ready = ::poll(&entry, 1, timeout);
            if (ready > 0)
                return WaitResult::Readable;
            if (ready < 0 && errno != EINTR)
                return WaitResult::Failed;
        }
    }

    std::chrono::milliseconds Slice() const override { return std::chrono::milliseconds::max(); }

    bool Pump() override { return !CancelRequested(); }
};

std::atomic<IWaiter*> g_waiter{nullptr};
std::atomic<bool> g_cancel{false};

} // namespace

IWaiter& DefaultWaiter()
{
    static PollWaiter waiter;
    return waiter;
}

IWaiter* SetWaiter(IWaiter* waiter)
{
    return g_waiter.exchange(waiter);
}

IWaiter& Waiter()
{
    IWaiter* waiter = g_waiter.load();
    return waiter ? *waiter : DefaultWaiter();
}

void RequestCancel()
{
    g_cancel.store(true);
}

void ClearCancel()
{
    g_cancel.store(false);
}

bool CancelRequested()
{
    return g_cancel.load();
}

} // namespace waiting
