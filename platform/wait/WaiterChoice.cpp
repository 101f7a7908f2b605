#include "platform/wait/Wait.h"

#include <atomic>

namespace waiting {
namespace {

// A test may stand another waiter in for the system's; nobody else sets it.
std::atomic<IWaiter*> g_waiter{nullptr};

} // namespace

IWaiter* SetWaiter(IWaiter* waiter)
{
    return g_waiter.exchange(waiter);
}

IWaiter& Waiter()
{
    IWaiter* waiter = g_waiter.load();
    return waiter ? *waiter : DefaultWaiter();
}

} // namespace waiting
