// What arrives besides the reply: the late answer of a request that timed out (on the same port,
// and kept by ser2net for the next connection) and line noise in front of a reply, on the
// device itself and served by ser2net both ways.
#include "comm/Rs232c.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/Ser2netServer.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

void Configure(CRs232c& port, const std::string& name, int timeoutMs)
{
    port.m_Settings.PortName = name;
    port.m_Settings.BaudRate = 9600;
    port.m_Settings.ByteSize = 8;
    port.m_Settings.HsTimeOut = timeoutMs;
    port.m_Settings.Prefix = 2;
    port.m_Settings.Suffix = 3;
}

std::string Read(CRs232c& port, const char* request, CResult& result)
{
    char reply[16] = {};
    result = port.SendReceive(request, reply, sizeof reply);
    return reply;
}

TEST(Rs232cLateReply, TheNextRequestGetsItsOwnAnswer)
{
    struct Case {
        const char* name;
        bool overSocket; // the second request on a new connection to ser2net
    };
    const Case cases[] = {{"one port on the device", false},
                          {"two connections over socket://", true}};
    const bool haveSer2net = !Ser2netServer::Program().empty();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.overSocket && !haveSer2net) {
            continue; // said at the end
        }
        PtyCamera camera;
        std::string failure;
        ASSERT_TRUE(camera.Start(failure)) << failure;
        camera.camera.Set(0x150, 0xA1);
        camera.camera.Set(0x151, 0xB2);
        Ser2netServer server;
        if (c.overSocket) {
            ASSERT_TRUE(server.Start(camera.Path(), failure)) << failure;
        }
        const std::string name = c.overSocket ? server.RawUrl() : camera.Path();
        LogRecorder log;

        CRs232c port;
        Configure(port, name, 100);
        ASSERT_EQ(port.Open(), 1) << port.OpenProblem();
        CResult result;
        EXPECT_EQ(Read(port,
                       "\x02"
                       "151RQ\x03",
                       result),
                  "B2");
        // The camera answers after 400 ms; the request gives up after 100.
        camera.camera.SetFaults({camsim::Fault::None, false, 400, 0});
        const auto sent = std::chrono::steady_clock::now();
        Read(port,
             "\x02"
             "150RQ\x03",
             result);
        ASSERT_EQ(result, LINK_TIMEOUT);
        camera.camera.SetFaults({});

        if (c.overSocket) {
            // The late reply waits in the served device until the next connection.
            port.Close();
            std::this_thread::sleep_until(sent + 600ms);
            ASSERT_TRUE(server.WaitDeviceReleased());
            Configure(port, name, 1000);
            ASSERT_EQ(port.Open(), 1) << port.OpenProblem();
        } else {
            // The next request starts just before the late reply arrives.
            std::this_thread::sleep_until(sent + 385ms);
            port.m_Settings.HsTimeOut = 1000;
        }
        log.Clear();
        const std::string value = Read(port,
                                       "\x02"
                                       "151RQ\x03",
                                       result);
        EXPECT_EQ(result, LINK_OK);
        EXPECT_EQ(value, "B2") << "the late answer of 0x150 was taken";
        // The late reply is recorded, before the request it could have been taken for.
        const auto comm = log.Comm();
        const auto late = std::find(comm.begin(), comm.end(), "RCV : [STX]A1[ETX]");
        const auto request = std::find(comm.begin(), comm.end(), "SEND: [STX]151RQ[ETX]");
        // ser2net may drop what its device sent between two connections; whatever arrives
        // is recorded, and before the request.
        if (!c.overSocket || late != comm.end()) {
            EXPECT_NE(late, comm.end()) << ::testing::PrintToString(comm);
            EXPECT_LT(late, request);
        }
        // In step again: the next exchange has no settling to do.
        const auto before = std::chrono::steady_clock::now();
        EXPECT_EQ(Read(port,
                       "\x02"
                       "150RQ\x03",
                       result),
                  "A1");
        EXPECT_LT(std::chrono::steady_clock::now() - before, 20ms);
        port.Close();
    }
    if (!haveSer2net)
        GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net): served rows not run";
}

// A far end scripted from the test: every request is answered with noise and then a reply.
class NoisyDevice {
public:
    NoisyDevice(std::string noise, std::string reply)
        : m_noise(std::move(noise)), m_reply(std::move(reply))
    {
    }
    ~NoisyDevice()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (int fd : {m_master, m_slaveHold})
            if (fd >= 0)
                ::close(fd);
    }

    bool Start()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        char name[128];
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
            ::ptsname_r(m_master, name, sizeof name) != 0)
            return false;
        termios tio{};
        if (::tcgetattr(m_master, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_master, TCSANOW, &tio);
        }
        m_path = name;
        m_slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        m_thread = std::thread([this] { Serve(); });
        return true;
    }
    const std::string& Path() const { return m_path; }

private:
    void Serve()
    {
        while (!m_stop) {
            pollfd entry{m_master, POLLIN, 0};
            if (::poll(&entry, 1, 50) <= 0)
                continue;
            char bytes[256];
            const ssize_t n = ::read(m_master, bytes, sizeof bytes);
            if (n <= 0 || std::find(bytes, bytes + n, '\x03') == bytes + n)
                continue;
            const std::string out = m_noise + m_reply;
            for (std::size_t done = 0; done < out.size() && !m_stop;) {
                const ssize_t w = ::write(m_master, out.data() + done, out.size() - done);
                if (w > 0) {
                    done += static_cast<std::size_t>(w);
                } else {
                    pollfd room{m_master, POLLOUT, 0};
                    ::poll(&room, 1, 50);
                }
            }
        }
    }

    std::string m_noise;
    std::string m_reply;
    std::string m_path;
    int m_master = -1;
    int m_slaveHold = -1;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST(Rs232cNoise, NoiseBeforeAReplyIsCutOnEveryDevice)
{
    // Printable bytes and the telnet escape, none of them a frame's start or end.
    std::string noise;
    for (int i = 0; i < 300; ++i)
        noise += i % 7 == 0 ? '\xFF' : static_cast<char>(0x20 + i % 0x5F);
    NoisyDevice device(noise, "\x02"
                              "34\x03");
    ASSERT_TRUE(device.Start());
    const bool haveSer2net = !Ser2netServer::Program().empty();
    Ser2netServer server;
    std::string failure;
    if (haveSer2net) {
        ASSERT_TRUE(server.Start(device.Path(), failure)) << failure;
    }

    struct Case {
        const char* name;
        std::string port;
    };
    const Case cases[] = {{"the device itself", device.Path()},
                          {"socket://", haveSer2net ? server.RawUrl() : ""},
                          {"rfc2217://", haveSer2net ? server.Rfc2217Url() : ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.port.empty()) {
            continue; // said at the end
        }
        if (haveSer2net) {
            ASSERT_TRUE(server.WaitDeviceReleased());
        }
        CRs232c port;
        Configure(port, c.port, 2000);
        ASSERT_EQ(port.Open(), 1) << port.OpenProblem();
        for (int i = 0; i < 2; ++i) {
            CResult result;
            EXPECT_EQ(Read(port,
                           "\x02"
                           "20RQ\x03",
                           result),
                      "34");
            EXPECT_EQ(result, LINK_OK);
        }
        port.Close();
    }
    if (!haveSer2net)
        GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net): served rows not run";
}

} // namespace
