// The wait of programs without a window: poll() on the descriptor until it is readable, the
// deadline passes or the user cancels; and the waiter that is installed in its place.
#include "platform/wait/Wait.h"

#include <gtest/gtest.h>

#include <chrono>

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
    bool bytes;     // something was written before the wait
    bool cancelled; // the user cancelled before the wait
    std::chrono::milliseconds deadline;
    WaitResult expected;
};

TEST(DefaultWaiter, EndsOnBytesOnTheDeadlineOrOnACancel)
{
    const WaitCase cases[] = {
        {"bytes waiting", true, false, 5000ms, WaitResult::Readable},
        {"quiet line", false, false, 30ms, WaitResult::TimedOut},
        {"deadline passed", false, false, 0ms, WaitResult::TimedOut},
        {"cancelled", true, true, 5000ms, WaitResult::Cancelled},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(c.name);
        Pipe pipe;
        if (c.bytes) {
            ASSERT_EQ(::write(pipe.fds[1], "x", 1), 1);
        }
        waiting::ClearCancel();
        if (c.cancelled)
            waiting::RequestCancel();
        EXPECT_EQ(waiting::Waiter().WaitReadable(pipe.fds[0], waiting::Clock::now() + c.deadline),
                  c.expected);
        EXPECT_EQ(waiting::Waiter().Pump(), !c.cancelled);
        waiting::ClearCancel();
    }
}

class CountingWaiter final : public waiting::IWaiter {
public:
    WaitResult WaitReadable(int, waiting::Clock::time_point) override
    {
        ++waits;
        return WaitResult::Cancelled;
    }
    std::chrono::milliseconds Slice() const override { return 7ms; }
    bool Pump() override { return false; }
    int waits = 0;
};

TEST(DefaultWaiter, AnInstalledWaiterStandsInUntilItIsRemoved)
{
    CountingWaiter mine;
    EXPECT_EQ(waiting::SetWaiter(&mine), nullptr);
    EXPECT_EQ(waiting::Waiter().WaitReadable(0, waiting::Clock::now()), WaitResult::Cancelled);
    EXPECT_EQ(waiting::Waiter().Slice(), 7ms);
    EXPECT_EQ(mine.waits, 1);
    EXPECT_EQ(waiting::SetWaiter(nullptr), &mine);
    EXPECT_EQ(&waiting::Waiter(), &waiting::DefaultWaiter());
    EXPECT_EQ(waiting::Waiter().Slice(), std::chrono::milliseconds::max());
}

} // namespace
