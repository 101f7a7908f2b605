// The release of exclusive holds that a signal handler performs.
#include "platform/serial/HeldPorts.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A pseudo-terminal's follower side, held for exclusive use.
class HeldTerminal {
public:
    HeldTerminal()
    {
        m_leader = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_leader >= 0 && ::grantpt(m_leader) == 0 && ::unlockpt(m_leader) == 0)
            m_fd = ::open(::ptsname(m_leader), O_RDWR | O_NOCTTY);
        if (m_fd >= 0)
            ::ioctl(m_fd, TIOCEXCL);
    }
    ~HeldTerminal()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_leader >= 0)
            ::close(m_leader);
    }
    int Fd() const { return m_fd; }
    bool Held() const
    {
        int held = 0;
        return ::ioctl(m_fd, TIOCGEXCL, &held) == 0 && held != 0;
    }

private:
    int m_leader = -1;
    int m_fd = -1;
};

} // namespace

TEST(HeldPorts, ReleaseClearsTheRegisteredHoldsOnly)
{
    HeldTerminal first;
    HeldTerminal second;
    HeldTerminal unregistered;
    HeldTerminal closedBefore;
    ASSERT_TRUE(first.Held() && second.Held() && unregistered.Held() && closedBefore.Held());

    serial::RegisterHeldPort(first.Fd());
    serial::RegisterHeldPort(second.Fd());
    serial::RegisterHeldPort(closedBefore.Fd());
    serial::UnregisterHeldPort(closedBefore.Fd());
    serial::ReleaseHeldPorts();

    struct Case {
        const HeldTerminal* terminal;
        bool heldAfter;
    };
    for (const Case& c : {Case{&first, false}, Case{&second, false}, Case{&unregistered, true},
                          Case{&closedBefore, true}})
        EXPECT_EQ(c.terminal->Held(), c.heldAfter) << c.terminal->Fd();
    serial::UnregisterHeldPort(first.Fd());
    serial::UnregisterHeldPort(second.Fd());
}

TEST(HeldPorts, EverySlotCanBeUsedAndFreedAgain)
{
    // More registrations than slots: the first kHeldPortsMax are kept, the rest are not, and
    // unregistering frees the slots for later ones.
    std::vector<std::unique_ptr<HeldTerminal>> terminals;
    for (int i = 0; i < serial::kHeldPortsMax + 1; ++i) {
        terminals.push_back(std::make_unique<HeldTerminal>());
        ASSERT_GE(terminals.back()->Fd(), 0);
        serial::RegisterHeldPort(terminals.back()->Fd());
    }
    serial::ReleaseHeldPorts();
    EXPECT_FALSE(terminals.front()->Held());
    EXPECT_FALSE(terminals[serial::kHeldPortsMax - 1]->Held());
    EXPECT_TRUE(terminals.back()->Held()) << "beyond the slots";
    for (const auto& terminal : terminals)
        serial::UnregisterHeldPort(terminal->Fd());
    HeldTerminal later;
    serial::RegisterHeldPort(later.Fd());
    serial::ReleaseHeldPorts();
    EXPECT_FALSE(later.Held());
    serial::UnregisterHeldPort(later.Fd());
}
