// Bytes that reach the port between two exchanges of a caller that exchanges in a row: they are
// recorded before the next request and never taken as the next exchange's reply.
#include "comm/Rs232c.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

// A camera on the master side of a pseudo-terminal: it answers every request with "\x02NN\x03",
// NN counting up from 10, and sends `stray` when told.
class StrayCamera {
public:
    explicit StrayCamera(std::string stray) : m_stray(std::move(stray))
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        m_slavePath = ::ptsname(m_master);
        m_thread = std::thread([this] { Serve(); });
    }
    ~StrayCamera()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_master >= 0)
            ::close(m_master);
    }
    const std::string& SlavePath() const { return m_slavePath; }
    void SendStray() { Write(m_stray); }

private:
    void Serve()
    {
        int answered = 0;
        while (!m_stop) {
            pollfd ready{m_master, POLLIN, 0};
            if (::poll(&ready, 1, 20) <= 0 || !(ready.revents & POLLIN))
                continue;
            char bytes[64];
            const ssize_t n = ::read(m_master, bytes, sizeof bytes);
            for (ssize_t i = 0; i < n; ++i) {
                if (bytes[i] != '\x03')
                    continue;
                const std::string reply = "\x02" + std::to_string(10 + answered) + "\x03";
                Write(reply);
                ++answered;
            }
        }
    }
    void Write(const std::string& bytes)
    {
        if (::write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            ADD_FAILURE() << "the camera's write failed";
    }

    std::string m_stray;
    int m_master = -1;
    std::string m_slavePath;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace

TEST(Rs232cBetweenExchanges, StrayBytesAreRecordedAndNeverAnswerTheNextRequest)
{
    const struct {
        const char* name;
        std::string stray;
        std::vector<std::string> records; // of the stray bytes, before the second request
    } cases[] = {
        {"a whole frame",
         "\x02"
         "99\x03",
         {"RCV : [STX]99[ETX]"}},
        {"garbage without a frame", "xyz", {}},
        {"a frame's start only",
         "\x02"
         "9",
         {}},
        {"two frames",
         "\x02"
         "98\x03\x02"
         "99\x03",
         {"RCV : [STX]99[ETX]"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StrayCamera camera(c.stray);
        ASSERT_FALSE(camera.SlavePath().empty());
        LogRecorder log;
        MessageBoxRecorder boxes;
        CRs232c port;
        port.m_Settings.PortName = camera.SlavePath();
        port.m_Settings.BaudRate = 9600;
        port.m_Settings.ByteSize = 8;
        port.m_Settings.HsTimeOut = 1000;
        port.m_Settings.Prefix = 2;
        port.m_Settings.Suffix = 3;
        ASSERT_EQ(port.Open(), 1);
        log.Clear();

        const std::string request = "\x02"
                                    "20RQ\x03";
        char reply[16] = {};
        ASSERT_EQ(port.SendReceive(request.c_str(), reply, sizeof reply), 0);
        EXPECT_STREQ(reply, "10");
        // The stray bytes arrive while the caller is still on its run of exchanges.
        camera.SendStray();
        std::this_thread::sleep_for(5ms);
        ASSERT_EQ(port.SendReceive(request.c_str(), reply, sizeof reply), 0);
        EXPECT_STREQ(reply, "11");
        ASSERT_EQ(port.SendReceive(request.c_str(), reply, sizeof reply), 0);
        EXPECT_STREQ(reply, "12");

        std::vector<std::string> expected = {"SEND: [STX]20RQ[ETX]", "RCV : [STX]10[ETX]"};
        expected.insert(expected.end(), c.records.begin(), c.records.end());
        for (const char* next : {"11", "12"}) {
            expected.push_back("SEND: [STX]20RQ[ETX]");
            expected.push_back(std::string("RCV : [STX]") + next + "[ETX]");
        }
        EXPECT_EQ(log.Comm(), expected);
        EXPECT_TRUE(boxes.Boxes().empty());
        port.Close();
    }
}
