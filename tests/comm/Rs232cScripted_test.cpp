// The RS-232C port against a scripted device: records, frame cutting, line checks, driver
// failures and a device that goes away.
#include "comm/Rs232c.h"
#include "tests/support/FakeSerialDevice.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

// Waits (bounded) until the event thread has done what the test expects of it.
template <typename Predicate> bool WaitFor(Predicate done)
{
    for (int i = 0; i < 200 && !done(); ++i)
        std::this_thread::sleep_for(5ms);
    return done();
}

const std::string kReadRequest = "\x02"
                                 "20RQ\x03";

class ScriptedPort : public ::testing::Test {
protected:
    ScriptedPort()
    {
        port.SetDeviceFactory([this](const serial::PortAddress&) { return line.MakeDevice(); });
        port.m_Settings.PortName = "COM1";
        port.m_Settings.BaudRate = 9600;
        port.m_Settings.ByteSize = 8;
        port.m_Settings.HsTimeOut = 300;
        port.m_Settings.Prefix = 2;
        port.m_Settings.Suffix = 3;
        port.m_Settings.Suffix2 = 0;
    }

    void Answer(std::vector<std::string> pieces)
    {
        line.SetResponder([pieces](const std::string&) { return pieces; });
    }

    int Exchange(std::string& reply, const std::string& request = kReadRequest)
    {
        char buffer[16] = {};
        const CResult result = port.SendReceive(request.c_str(), buffer, sizeof buffer);
        if (!result.Notice().empty())
            notices.push_back(result.Notice());
        reply = buffer;
        return result.Code();
    }

    bool Logged(const std::string& record) const
    {
        const auto comm = log.Comm();
        return std::find(comm.begin(), comm.end(), record) != comm.end();
    }

    // The port shows nothing itself: what the user must be told travels with the result.
    void TearDown() override { EXPECT_TRUE(boxes.Boxes().empty()); }

    LogRecorder log;
    MessageBoxRecorder boxes;
    std::vector<std::string> notices;
    FakeLine line;
    CRs232c port;
};

} // namespace

TEST_F(ScriptedPort, OpenLogsEveryStepAndMapsTheDevicePath)
{
    ASSERT_EQ(port.Open(), 1);
    EXPECT_EQ(line.PathOpened(), "/dev/ttyS0");
    EXPECT_EQ(log.Comm(), (std::vector<std::string>{
                              "STAT: Port close\r",
                              "STAT: Port close done(NO Handle)\r",
                              "STAT: Port open COM1\r",
                              "STAT: DCB Setup OK\r",
                              "STAT: Timeout Setup OK\r",
                              "STAT: Interface Clear(PurgeComm) OK\r",
                              "STAT: SetCommMask() OK\r",
                              "STAT: Port open Success\r",
                          }));
    log.Clear();
    EXPECT_EQ(port.Close(), 1);
    EXPECT_EQ(log.Comm(),
              (std::vector<std::string>{"STAT: Port close\r", "STAT: Port close done\r"}));
    EXPECT_FALSE(line.IsOpen());
}

TEST_F(ScriptedPort, OpenFailuresSayWhy)
{
    struct Case {
        int error;
        const char* reason;
    };
    for (const Case& c : {Case{ENOENT, "no such device"}, Case{EBUSY, "in use by another program"},
                          Case{EACCES, "dialout"}}) {
        log.Clear();
        line.openError = c.error;
        EXPECT_EQ(port.Open(), 0);
        const auto comm = log.Comm();
        ASSERT_EQ(comm.size(), 5u);
        EXPECT_EQ(comm[3], "STAT: Port open Error\r");
        EXPECT_NE(comm[4].find(c.reason), std::string::npos) << comm[4];
        EXPECT_EQ(comm[4].back(), '\r');
        EXPECT_EQ(port.IsOpen(), 0);
    }
}

TEST_F(ScriptedPort, MalformedNetworkNamesAreRefusedBeforeAnyDevice)
{
    int devices = 0;
    port.SetDeviceFactory([this, &devices](const serial::PortAddress&) {
        ++devices;
        return line.MakeDevice();
    });
    const struct {
        const char* name;
        const char* problem;
    } cases[] = {
        {"rfc2217://camhost", "rfc2217://camhost: no port (HOST:PORT)"},
        {"socket://camhost:0", "socket://camhost:0: port 0 is not a number from 1 to 65535"},
        {"tcp://camhost:7000", "tcp://camhost:7000: unknown kind of port \"tcp://\" (rfc2217:// "
                               "and socket:// are known)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.Clear();
        port.m_Settings.PortName = c.name;
        EXPECT_EQ(port.Open(), 0);
        EXPECT_EQ(port.OpenProblem(), c.problem);
        EXPECT_EQ(log.Comm(), (std::vector<std::string>{
                                  "STAT: Port close\r",
                                  "STAT: Port close done(NO Handle)\r",
                                  std::string("STAT: Port open ") + c.name + "\r",
                                  "STAT: Port open Error\r",
                                  std::string("STAT: ") + c.problem + "\r",
                              }));
    }
    EXPECT_EQ(devices, 0);
}

TEST_F(ScriptedPort, ConfigurationFailuresStopTheOpen)
{
    line.purgeOk = false;
    EXPECT_EQ(port.Open(), 0);
    EXPECT_TRUE(Logged("STAT: Error! Interface Clear(PurgeComm)\r"));
    EXPECT_FALSE(Logged("STAT: Port open Success\r"));
    EXPECT_FALSE(line.IsOpen());
    line.purgeOk = true;
    line.configureOk = false;
    EXPECT_EQ(port.Open(), 0);
    EXPECT_TRUE(Logged("STAT: Error! Speed Setup\r"));
    line.configureOk = true;
    line.eventMaskOk = false;
    EXPECT_EQ(port.Open(), 0);
    EXPECT_TRUE(Logged("STAT: Error! SetCommMask() \r"));
}

TEST_F(ScriptedPort, ReplyIsCutFromItsFrameAndLoggedInOrder)
{
    ASSERT_EQ(port.Open(), 1);
    log.Clear();
    Answer({"\x02"
            "3F\x03"});
    std::string reply;
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "3F");
    EXPECT_EQ(log.Comm(), (std::vector<std::string>{"SEND: [STX]20RQ[ETX]", "RCV : [STX]3F[ETX]"}));
    EXPECT_EQ(line.Written(), std::vector<std::string>{kReadRequest});
}

TEST_F(ScriptedPort, FrameCuttingRules)
{
    ASSERT_EQ(port.Open(), 1);
    std::string reply;

    Answer({"\x02"
            "12\x03\x02"
            "34\x03"});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "34") << "two frames in one read: the last one counts";

    // A whole frame and the start of the next: the reply is the frame that ended, and the
    // unfinished one is never taken for an answer.
    Answer({"\x02"
            "12\x03\x02"
            "34"});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "12");
    Answer({"\x02"
            "AB\x03\x02"
            "CD\x03\x02"
            "E"});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "CD");

    Answer({"\x02"
            "1",
            "2\x03"});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "12") << "a frame over two reads";

    // A zero byte ends a frame when there is no second suffix.
    Answer({std::string("\x02"
                        "5\0"
                        "6\x03",
                        5)});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "5");

    // A frame that ends again without a new prefix still answers with its first payload.
    Answer({"\x02"
            "AB\x03",
            "CD\x03"});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "AB");
}

TEST_F(ScriptedPort, BytesBeforeThePrefixJoinTheAccumulator)
{
    ASSERT_EQ(port.Open(), 1);
    std::string reply;
    // No prefix at all: the bytes are appended to what the accumulator already holds.
    Answer({"\x02"
            "7\x03"});
    EXPECT_EQ(Exchange(reply), 0);
    Answer({"8\x03"});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "7") << "the payload ends at the accumulator's first zero";
}

TEST_F(ScriptedPort, SecondSuffixAndLongReplies)
{
    port.m_Settings.Suffix2 = 0x0D;
    ASSERT_EQ(port.Open(), 1);
    log.Clear();
    Answer({"\x02"
            "0123456789ABCDEFGH\x03\r"});
    std::string reply;
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "0123456789ABCDE") << "the caller's room is 15 characters";
    EXPECT_EQ(log.Comm().back(), "RCV : [STX]0123456789ABCDEFGH[ETX]\r");
}

TEST_F(ScriptedPort, NoiseKeepsMemoryBounded)
{
    ASSERT_EQ(port.Open(), 1);
    std::string reply;
    // Far more bytes than any buffer, with no frame end, then a proper frame.
    std::vector<std::string> flood(40, std::string(256, 'Z'));
    flood.push_back("\x02"
                    "42\x03");
    Answer(flood);
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "42");
    // A frame that outgrows the accumulator is dropped whole: its tail, up to the next prefix,
    // is no reply, however it ends.
    for (const std::string& tail : {std::string("12\x03"), std::string(3000, 'Q') + "\x03"}) {
        log.Clear();
        Answer({"\x02" + std::string(CRs232c::kFrameMax, 'A') + tail});
        EXPECT_EQ(Exchange(reply), LINK_TIMEOUT) << tail.size();
        EXPECT_EQ(log.Comm().back(), "STAT: RCV Timeout\r");
    }
    // The next prefix starts a frame that counts again.
    Answer({std::string(CRs232c::kFrameMax + 5, 'B') + "\x03\x02"
                                                       "43\x03"});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "43");
}

TEST_F(ScriptedPort, DsrAndCtsChecksComeBeforeSending)
{
    port.m_Settings.fDsr = 1;
    ASSERT_EQ(port.Open(), 1);
    log.Clear();
    line.lines.dsr = false;
    std::string reply;
    EXPECT_EQ(Exchange(reply), LINK_DSR_OFF);
    EXPECT_EQ(log.Comm(), std::vector<std::string>{"SEND: [STX]20RQ[ETX]"});
    EXPECT_TRUE(line.Written().empty());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "DSR Off\r\nCheck the RS232C cable\r\nand Camera power");

    port.m_Settings.fDsr = 0;
    port.m_Settings.fRts = 1;
    line.lines.cts = false;
    EXPECT_EQ(Exchange(reply), LINK_CTS_OFF);
    EXPECT_EQ(notices.back(), "CTS Off\r\nCheck the RS232C cable\r\nand Camera power");

    // Lines that cannot be read count as off.
    line.lines.cts = true;
    line.linesReadable = false;
    EXPECT_EQ(Exchange(reply), LINK_CTS_OFF);
}

TEST_F(ScriptedPort, WriteFailures)
{
    ASSERT_EQ(port.Open(), 1);
    std::string reply;

    line.writeOutcome = serial::WriteOutcome::Refused;
    line.writeError = EIO;
    log.Clear();
    EXPECT_EQ(Exchange(reply), LINK_TX_ERROR);
    EXPECT_EQ(log.Comm(), std::vector<std::string>{"SEND: [STX]20RQ[ETX]"});
    EXPECT_EQ(notices.back(), "Tx fail: Input/output error");

    line.writeOutcome = serial::WriteOutcome::Completed;
    line.writeShortBy = 2;
    EXPECT_EQ(Exchange(reply), LINK_TIMEOUT);
    EXPECT_TRUE(Logged("STAT: CommSend Timeout: Total6 sent 4 \r"));
    EXPECT_EQ(notices.back(), "CommSend Timeout: Total6 sent 4 \r");

    line.writeOutcome = serial::WriteOutcome::Failed;
    line.writeError = 5;
    line.writeShortBy = 0;
    Answer({"\x02"
            "01\x03"});
    EXPECT_EQ(Exchange(reply), 0) << "a failed wait with every byte written still counts";
    EXPECT_TRUE(Logged("STAT: CommSend Error:5 \r"));
    EXPECT_EQ(notices.size(), 2u);
}

TEST_F(ScriptedPort, NoReplyTimesOutOnceWithOneBox)
{
    ASSERT_EQ(port.Open(), 1);
    log.Clear();
    std::string reply;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Exchange(reply), LINK_TIMEOUT);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 290ms);
    EXPECT_LT(waited, 2s);
    EXPECT_EQ(log.Comm(),
              (std::vector<std::string>{"SEND: [STX]20RQ[ETX]", "STAT: RCV Timeout\r"}));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "RCV Timeout");
    // A late frame of the old exchange does not answer the next one.
    line.Deliver("\x02"
                 "99\x03");
    std::this_thread::sleep_for(50ms);
    Answer({"\x02"
            "11\x03"});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "11");
}

TEST_F(ScriptedPort, LineEventsAreRecorded)
{
    ASSERT_EQ(port.Open(), 1);
    log.Clear();
    line.RaiseEvent(serial::EventCtsChanged);
    line.RaiseEvent(serial::EventBreak | serial::EventLineError);
    line.RaiseEvent(serial::EventRingEnded);
    line.RaiseEvent(serial::EventDcdChanged);
    ASSERT_TRUE(WaitFor([this] { return log.Comm().size() >= 4; }));
    std::this_thread::sleep_for(20ms); // a wrong extra record would show up by now
    port.Close();                      // joins the event thread: every event is handled by then
    EXPECT_EQ(log.Comm(), (std::vector<std::string>{
                              "STAT: EV_CTS|EV_DSR\r",
                              "STAT: EV_BREAK\r",
                              "STAT: EV_ERR\r",
                              "STAT: EV_RING\r",
                              "STAT: Port close\r",
                              "STAT: Port close done\r",
                          }));
}

TEST_F(ScriptedPort, AReadThatFailsBetweenExchangesLosesNothing)
{
    ASSERT_EQ(port.Open(), 1);
    line.readError = EIO;
    line.Deliver("\x02"
                 "77\x03");
    EXPECT_TRUE(WaitFor([this] { return Logged("RCV : [STX]77[ETX]"); }));
    EXPECT_FALSE(port.PortLost());
}

TEST_F(ScriptedPort, AReadThatFailsDuringAnExchangeLosesThePort)
{
    ASSERT_EQ(port.Open(), 1);
    log.Clear();
    line.readError = EIO;
    Answer({"\x02"
            "78\x03"});
    std::string reply;
    EXPECT_EQ(Exchange(reply), LINK_TIMEOUT);
    // The event thread may record the unread frame afterwards.
    auto comm = log.Comm();
    comm.resize(std::min<std::size_t>(comm.size(), 3));
    EXPECT_EQ(comm,
              (std::vector<std::string>{"SEND: [STX]20RQ[ETX]", "STAT: Port lost: device error\r",
                                        "STAT: RCV Timeout\r"}));
    EXPECT_TRUE(port.PortLost());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "the camera's port was lost: COM1");
}

TEST_F(ScriptedPort, VanishedDeviceEndsTheThreadAndLaterExchangesTimeOut)
{
    port.m_Settings.HsTimeOut = 3000;
    ASSERT_EQ(port.Open(), 1);
    std::string reply;
    // The device hangs up while an exchange waits: the wait ends at once, as a time-out would.
    std::thread hangUp([this] {
        WaitFor([this] { return !line.Written().empty(); });
        std::this_thread::sleep_for(20ms);
        line.HangUp();
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Exchange(reply), LINK_TIMEOUT);
    hangUp.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_TRUE(Logged("STAT: Port lost: device hung up\r"));
    EXPECT_TRUE(Logged("STAT: RCV Timeout\r"));
    // The one box names the lost port rather than a time-out.
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "the camera's port was lost: " + port.m_Settings.PortName);

    // Later exchanges on the lost port fail the same way, without waiting.
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(Exchange(reply), LINK_TIMEOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(notices.size(), 2u);
    EXPECT_EQ(port.Close(), 1);
    EXPECT_TRUE(Logged("STAT: Port close done\r"));

    // Reopened, the port waits for replies again.
    ASSERT_EQ(port.Open(), 1);
    Answer({"\x02"
            "5A\x03"});
    EXPECT_EQ(Exchange(reply), 0);
    EXPECT_EQ(reply, "5A");
}

TEST_F(ScriptedPort, EventThreadAndCallerShareTheLogSafely)
{
    // Many exchanges while the event thread also writes records: run under ThreadSanitizer.
    ASSERT_EQ(port.Open(), 1);
    line.SetResponder([](const std::string& written) {
        return std::vector<std::string>{"\x02", written.substr(1, 2), "\x03"};
    });
    std::string reply;
    for (int i = 0; i < 200; ++i) {
        char request[8];
        std::snprintf(request, sizeof request, "\x02%02XRQ\x03", i & 0xFF);
        ASSERT_EQ(Exchange(reply, request), 0);
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02X", i & 0xFF);
        ASSERT_EQ(reply, expected);
    }
    port.Close();
    const auto comm = log.Comm();
    // Each SEND stands before its RCV.
    for (std::size_t i = 0; i + 1 < comm.size(); ++i)
        if (comm[i].rfind("RCV : ", 0) == 0) {
            EXPECT_EQ(comm[i - 1].rfind("SEND: ", 0), 0u) << i;
        }
}
