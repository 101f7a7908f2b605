// The wait of programs without a window: poll() on the descriptor until it is readable, the
// deadline passes or the user cancels; and the waiter that is installed in its place.
#include "platform/wait/Wait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <poll.h>
#include <unistd.h>

using namespace std::chrono_literals;
using waiting::WaitResult;

namespace {

struct Pipe {
    Pipe() { EXPECT_EQ(::pipe(fds), 0); }
    ~Pipe()
    {
        ::close(fds[0]);
        ::close(fds[1]);
    }
    int fds[2] = {-1, -1};
};

struct WaitCase {
    const char* name;
    bool bytes; // something was written before the wait
    enum { None, Before, During } cancel;
    std::chrono::milliseconds deadline;
    WaitResult expected;
};

TEST(DefaultWaiter, EndsOnBytesOnTheDeadlineOrOnACancel)
{
    const WaitCase cases[] = {
        {"bytes waiting", true, WaitCase::None, 5000ms, WaitResult::Readable},
        {"quiet line", false, WaitCase::None, 30ms, WaitResult::TimedOut},
        {"deadline passed", false, WaitCase::None, 0ms, WaitResult::TimedOut},
        {"cancelled", true, WaitCase::Before, 5000ms, WaitResult::Cancelled},
        {"cancelled from another thread", false, WaitCase::During, 60s, WaitResult::Cancelled},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(c.name);
        Pipe pipe;
        if (c.bytes) {
            ASSERT_EQ(::write(pipe.fds[1], "x", 1), 1);
        }
        waiting::CancelFlag cancel;
        if (c.cancel == WaitCase::Before)
            cancel.Request();
        std::thread canceller;
        if (c.cancel == WaitCase::During)
            canceller = std::thread([&cancel] {
                std::this_thread::sleep_for(20ms);
                cancel.Request();
            });
        const auto begin = waiting::Clock::now();
        EXPECT_EQ(waiting::Waiter().WaitReadable(pipe.fds[0], begin + c.deadline, cancel),
                  c.expected);
        // A cancel ends the wait at once, not at its deadline.
        if (c.cancel == WaitCase::During) {
            EXPECT_LT(waiting::Clock::now() - begin, 10s);
        }
        if (canceller.joinable())
            canceller.join();
        EXPECT_EQ(waiting::Waiter().Pump(cancel), c.cancel == WaitCase::None);
        cancel.Clear();
        EXPECT_FALSE(cancel.Requested());
        // A cleared cancel leaves nothing on its descriptor to wake the next wait.
        pollfd quiet{cancel.Descriptor(), POLLIN, 0};
        EXPECT_EQ(::poll(&quiet, 1, 0), 0);
    }
}

class CountingWaiter final : public waiting::IWaiter {
public:
    WaitResult WaitReadable(int, waiting::Clock::time_point, const waiting::CancelFlag&) override
    {
        ++waits;
        return WaitResult::Cancelled;
    }
    std::chrono::milliseconds Slice() const override { return 7ms; }
    bool Pump(const waiting::CancelFlag&) override { return false; }
    int waits = 0;
};

TEST(DefaultWaiter, AnInstalledWaiterStandsInUntilItIsRemoved)
{
    CountingWaiter mine;
    EXPECT_EQ(waiting::SetWaiter(&mine), nullptr);
    const waiting::CancelFlag cancel;
    EXPECT_EQ(waiting::Waiter().WaitReadable(0, waiting::Clock::now(), cancel),
              WaitResult::Cancelled);
    EXPECT_EQ(waiting::Waiter().Slice(), 7ms);
    EXPECT_EQ(mine.waits, 1);
    EXPECT_EQ(waiting::SetWaiter(nullptr), &mine);
    EXPECT_EQ(&waiting::Waiter(), &waiting::DefaultWaiter());
    EXPECT_EQ(waiting::Waiter().Slice(), std::chrono::milliseconds::max());
}

} // namespace
