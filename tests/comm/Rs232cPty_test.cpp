// The RS-232C port on real pseudo-terminals, with the simulated camera at the far end.
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

class PtyPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string failure;
        ASSERT_TRUE(pty.Attach(facade, 500, failure)) << failure;
    }

    LogRecorder log;
    MessageBoxRecorder boxes;
    PtyCamera pty;
    camsim::Camera& camera = pty.camera;
    camsim::PtyServer& server = pty.server;
    CComIF facade;
    CRVXReg reg{&facade};
};

} // namespace

TEST_F(PtyPort, ReadAndWriteThroughTheFacade)
{
    ASSERT_EQ(facade.Open(), 1);
    camera.Set(0x20, 0x34);
    log.Clear();
    std::uint8_t value = 0;
    EXPECT_EQ(reg.ReadRegister(0x20, value), 0);
    EXPECT_EQ(value, 0x34);
    EXPECT_EQ(log.Comm(), (std::vector<std::string>{"SEND: [STX]20RQ[ETX]", "RCV : [STX]34[ETX]"}));

    EXPECT_EQ(reg.WriteRegister(0x150, 0x1A5), 0);
    EXPECT_EQ(camera.Get(0x150), 0xA5);
    EXPECT_EQ(reg.ReadRegister(0x300, value), 0);
    EXPECT_EQ(reg.ReadRegister(0x301, value), 1) << "the camera refuses addresses past 0x300";

    char text[17] = {};
    EXPECT_EQ(reg.WriteRegisterString(0x00, "Hi", 16), 0);
    EXPECT_EQ(reg.ReadRegisterString(0x00, text, 16), 0);
    EXPECT_STREQ(text, "Hi");
    EXPECT_EQ(facade.Close(), 1);
}

TEST_F(PtyPort, RepliesInPiecesAndSlowRepliesArrive)
{
    ASSERT_EQ(facade.Open(), 1);
    camsim::Faults faults;
    faults.split = true;
    faults.delayMs = 100;
    camera.SetFaults(faults);
    camera.Set(0x41, 0xC3);
    std::uint8_t value = 0;
    EXPECT_EQ(reg.ReadRegister(0x41, value), 0);
    EXPECT_EQ(value, 0xC3);
}

TEST_F(PtyPort, GarbageIsJudgedNotTrusted)
{
    ASSERT_EQ(facade.Open(), 1);
    camera.SetFaults({camsim::Fault::Garbage, false, 0, 0});
    std::uint8_t value = 0x55;
    const CResult result = reg.ReadRegister(0x20, value);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(value, 0);
    camera.SetFaults({});
    EXPECT_EQ(reg.ReadRegister(0x20, value), 0) << "the port goes on after noise";
}

TEST_F(PtyPort, SilentCameraTimesOut)
{
    ASSERT_EQ(facade.Open(), 1);
    camera.SetFaults({camsim::Fault::Silent, false, 0, 0});
    log.Clear();
    std::uint8_t value = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(reg.ReadRegister(0x20, value), 256);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 490ms);
    EXPECT_LT(waited, 1500ms);
    EXPECT_EQ(log.Comm().back(), "STAT: RCV Timeout\r");
    EXPECT_EQ(facade.TakeNotice(), "RCV Timeout");
    EXPECT_TRUE(boxes.Boxes().empty()) << "the port shows nothing itself";
}

TEST_F(PtyPort, MissingAndHeldDevicesDoNotOpen)
{
    facade.m_Rs232c.m_Settings.PortName = "/dev/vireo-no-such-port";
    EXPECT_EQ(facade.Open(), 0);
    EXPECT_EQ(log.Comm().back(), "STAT: /dev/vireo-no-such-port: no such device\r");

    // Before any settings are loaded the port has no name at all.
    facade.m_Rs232c.m_Settings.PortName.clear();
    EXPECT_EQ(facade.Open(), 0);
    EXPECT_EQ(log.Comm().back(), "STAT: no port chosen\r");

    facade.m_Rs232c.m_Settings.PortName = server.SlavePath();
    ASSERT_EQ(facade.Open(), 1);
    CRs232c second;
    second.m_Settings = facade.m_Rs232c.m_Settings;
    log.Clear();
    EXPECT_EQ(second.Open(), 0) << "a port is never shared";
    const auto comm = log.Comm();
    ASSERT_GE(comm.size(), 2u);
    EXPECT_EQ(comm[comm.size() - 2], "STAT: Port open Error\r");
    EXPECT_NE(comm.back().find("in use by another program"), std::string::npos);

    // A file that is no serial device.
    facade.m_Rs232c.m_Settings.PortName = "/dev/null";
    EXPECT_EQ(facade.Open(), 0);
    EXPECT_NE(log.Comm().back().find("not a serial device"), std::string::npos);
}

TEST_F(PtyPort, PortHeldExclusivelyByAnotherProgramIsLeftAlone)
{
    // Another program holds the terminal for exclusive use and its lock (root could open it
    // regardless).
    const int other = ::open(server.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::ioctl(other, TIOCEXCL), 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    log.Clear();
    EXPECT_EQ(facade.Open(), 0);
    EXPECT_EQ(log.Comm().back(), "STAT: " + server.SlavePath() + ": in use by another program\r");
    facade.Close();
    int held = 0;
    ASSERT_EQ(::ioctl(other, TIOCGEXCL, &held), 0);
    EXPECT_EQ(held, 1) << "the other program's hold survives our attempt";
    ::ioctl(other, TIOCNXCL);
    ::close(other);

    // A hold we set ourselves is ours to clear.
    ASSERT_EQ(facade.Open(), 1);
    EXPECT_EQ(facade.Close(), 1);
    const int after = ::open(server.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(after, 0);
    ASSERT_EQ(::ioctl(after, TIOCGEXCL, &held), 0);
    EXPECT_EQ(held, 0);
    ::close(after);
}

TEST_F(PtyPort, DeviceVanishingMidExchange)
{
    facade.m_Rs232c.m_Settings.HsTimeOut = 5000;
    ASSERT_EQ(facade.Open(), 1);
    camera.SetFaults({camsim::Fault::None, false, 300, 0});
    std::thread vanish([this] {
        std::this_thread::sleep_for(100ms);
        server.Stop();
    });
    std::uint8_t value = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(reg.ReadRegister(0x20, value), LINK_TIMEOUT);
    vanish.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms) << "the hang-up ends the wait";
    // Later exchanges fail too, without hanging, and the port closes cleanly.
    EXPECT_NE(reg.ReadRegister(0x20, value), 0);
    EXPECT_EQ(facade.Close(), 1);
    bool lost = false;
    for (const std::string& record : log.Comm())
        lost = lost || record.rfind("STAT: Port lost: ", 0) == 0;
    EXPECT_TRUE(lost);
}

TEST_F(PtyPort, ManyExchangesStayInStep)
{
    ASSERT_EQ(facade.Open(), 1);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(reg.WriteRegister(0x100 + i, i), 0);
        std::uint8_t value = 0;
        ASSERT_EQ(reg.ReadRegister(0x100 + i, value), 0);
        ASSERT_EQ(value, i);
    }
}

// The event thread may see a reply that the exchange reads first, for instance while it is still
// starting with a freshly opened port; that is no lost device, however the two meet.
TEST_F(PtyPort, AHealthyCameraNeverLooksLost)
{
    camera.Set(0x20, 0x5A);
    // Each reply comes a moment later, so that the event thread and the caller both wait for it.
    camera.SetFaults({camsim::Fault::None, false, 1, 0});
    int failures = 0;
    for (int open = 0; open < 500 && failures == 0; ++open) {
        ASSERT_EQ(facade.Open(), 1);
        for (int i = 0; i < 3; ++i) {
            std::uint8_t value = 0;
            failures += reg.ReadRegister(0x20, value) != 0 || value != 0x5A;
        }
        ASSERT_EQ(facade.Close(), 1);
    }
    EXPECT_EQ(failures, 0);
    for (const std::string& record : log.Comm())
        EXPECT_NE(record.rfind("STAT: Port lost: ", 0), 0u) << record;
    EXPECT_TRUE(boxes.Boxes().empty());
}
