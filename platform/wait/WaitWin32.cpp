#include "platform/wait/Wait.h"

#include <algorithm>

#include <windows.h>

namespace waiting {
namespace {

HANDLE EventOf(int handle)
{
    return LongToHandle(handle);
}

class EventWaiter final : public IWaiter {
public:
    WaitResult WaitReadable(int fd, Clock::time_point deadline, const CancelFlag& cancel) override
    {
        if (cancel.Requested())
            return WaitResult::Cancelled;
        HANDLE handles[2] = {EventOf(fd), EventOf(cancel.Descriptor())};
        const DWORD count = cancel.Descriptor() >= 0 ? 2 : 1;
        for (;;) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return WaitResult::TimedOut;
            const DWORD timeout = static_cast<DWORD>(std::min<long long>(left, 1 << 30));
            const DWORD woken = ::WaitForMultipleObjects(count, handles, FALSE, timeout);
            if (woken == WAIT_OBJECT_0)
                return cancel.Requested() ? WaitResult::Cancelled : WaitResult::Readable;
            if (woken == WAIT_OBJECT_0 + 1 || cancel.Requested())
                return WaitResult::Cancelled;
            if (woken == WAIT_FAILED)
                return WaitResult::Failed;
        }
    }

    std::chrono::milliseconds Slice() const override { return std::chrono::milliseconds::max(); }

    bool Pump(const CancelFlag& cancel) override { return !cancel.Requested(); }
};

} // namespace

CancelFlag::CancelFlag()
{
    // Manual reset: it stays signalled for every wait until the next action clears it.
    if (const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr))
        m_fd = HandleToLong(event);
}

CancelFlag::~CancelFlag()
{
    if (m_fd >= 0)
        ::CloseHandle(EventOf(m_fd));
}

void CancelFlag::Request()
{
    // Signalled before the flag is set, as the POSIX side does, so that a Clear that finds the
    // flag set always resets it. SetEvent may be called from a console handler's thread.
    if (m_fd >= 0)
        ::SetEvent(EventOf(m_fd));
    m_requested.store(true, std::memory_order_release);
}

void CancelFlag::Clear()
{
    if (m_requested.exchange(false, std::memory_order_acq_rel) && m_fd >= 0)
        ::ResetEvent(EventOf(m_fd));
}

bool HungUp(int)
{
    return false;
}

IWaiter& DefaultWaiter()
{
    static EventWaiter waiter;
    return waiter;
}

} // namespace waiting
