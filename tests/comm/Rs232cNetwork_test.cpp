// The RS-232C port on the simulated camera served by the system's ser2net: no modem lines travel
// over a raw TCP port, so its DSR and CTS checks do not apply; an RFC 2217 port keeps them.
#include "comm/Rs232c.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/Ser2netServer.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

const std::string kLinesNotChecked = "STAT: Raw TCP port: DSR/CTS checks do not apply\r";
const std::string kSettingsNotSent = "STAT: Raw TCP port: line settings do not apply\r";

long Count(const std::vector<std::string>& records, const std::string& record)
{
    return std::count(records.begin(), records.end(), record);
}

TEST(Rs232cNetwork, LineChecksApplyOnlyWhereTheLinesTravel)
{
    if (Ser2netServer::Program().empty())
        GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net)";
    PtyCamera camera;
    std::string failure;
    ASSERT_TRUE(camera.Start(failure)) << failure;
    camera.camera.Set(0x20, 0x34);
    Ser2netServer server;
    ASSERT_TRUE(server.Start(camera.Path(), failure)) << failure;

    struct Case {
        const char* name;
        bool raw;
        int fDsr;
        int fRts;
        long skipRecords; // of kLinesNotChecked
        int result;       // of each exchange
    };
    const Case cases[] = {
        {"raw TCP, DSR checked", true, 1, 0, 1, LINK_OK},
        {"raw TCP, CTS checked", true, 0, 1, 1, LINK_OK},
        {"raw TCP, no check", true, 0, 0, 0, LINK_OK},
        // The server reports the lines of a pseudo-terminal, which has no DSR.
        {"RFC 2217, DSR checked", false, 1, 0, 0, LINK_DSR_OFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(server.WaitDeviceReleased());
        LogRecorder log;
        MessageBoxRecorder boxes;
        CRs232c port;
        port.m_Settings.PortName = c.raw ? server.RawUrl() : server.Rfc2217Url();
        port.m_Settings.BaudRate = 9600;
        port.m_Settings.ByteSize = 8;
        port.m_Settings.HsTimeOut = 2000;
        port.m_Settings.Prefix = 2;
        port.m_Settings.Suffix = 3;
        port.m_Settings.fDsr = c.fDsr;
        port.m_Settings.fRts = c.fRts;
        ASSERT_EQ(port.Open(), 1) << port.OpenProblem();
        std::size_t notices = 0;
        for (int i = 0; i < 3; ++i) {
            char reply[16] = {};
            const CResult result = port.SendReceive("\x02"
                                                    "20RQ\x03",
                                                    reply, sizeof reply);
            EXPECT_EQ(result, c.result);
            notices += result.Notice().empty() ? 0 : 1;
            if (c.result == LINK_OK) {
                EXPECT_STREQ(reply, "34");
            }
        }
        port.Close();
        const auto comm = log.Comm();
        EXPECT_EQ(Count(comm, kLinesNotChecked), c.skipRecords);
        EXPECT_EQ(Count(comm, kSettingsNotSent), c.raw ? 1 : 0);
        if (c.skipRecords) {
            // Said once, at open, after the record of the settings.
            const auto said = std::find(comm.begin(), comm.end(), kLinesNotChecked);
            EXPECT_EQ(*(said - 1), kSettingsNotSent);
            EXPECT_EQ(*(said + 1), "STAT: DCB Setup OK\r");
        }
        EXPECT_EQ(notices, c.result == LINK_OK ? 0u : 3u);
        EXPECT_TRUE(boxes.Boxes().empty());
    }
}

} // namespace
