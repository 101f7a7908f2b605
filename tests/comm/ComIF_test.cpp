// The facade: forwarding by port type and window logging. It opens what is selected and asks
// nothing: the setup dialog's loop is the window's.
#include "comm/ComIF.h"
#include "tests/support/FakeSerialDevice.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

class FacadeTest : public ::testing::Test {
protected:
    FacadeTest()
    {
        facade.m_Rs232c.SetDeviceFactory(
            [this](const serial::PortAddress&) { return line.MakeDevice(); });
    }

    ScopedSettingsDir store;
    LogRecorder log;
    MessageBoxRecorder boxes;
    FakeLine line;
    CComIF facade;
};

} // namespace

TEST_F(FacadeTest, ConstructedClosedOnRs232cWithEmptySettings)
{
    EXPECT_EQ(facade.PortType, PORT_RS232C);
    EXPECT_EQ(facade.m_Settings, CComSettings{});
    EXPECT_EQ(facade.m_Cas.m_nPortIndex, -1);
    EXPECT_EQ(facade.IsOpen(), 0);
    EXPECT_EQ(log.Comm(), std::vector<std::string>{"STAT: Port close done(NO Handle)\r"});
}

TEST_F(FacadeTest, CameraLinkWithoutSelectedPortFailsToOpenShowingNothing)
{
    facade.PortType = PORT_CAMERALINK;
    EXPECT_EQ(facade.Open(), 0);
    EXPECT_TRUE(boxes.Boxes().empty());
    const auto comm = log.Comm();
    EXPECT_NE(std::find(comm.begin(), comm.end(), "STAT: Port Open Failure Invalid Port No."),
              comm.end());
}
TEST_F(FacadeTest, UnknownPortTypeFailsEveryWay)
{
    facade.PortType = 5;
    char reply[16] = "stale";
    EXPECT_EQ(facade.Open(), 0);
    EXPECT_EQ(facade.Close(), 0);
    EXPECT_EQ(facade.SendReceive("\x02"
                                 "20RQ\x03",
                                 reply, sizeof reply),
              LINK_NO_PORT);
    EXPECT_STREQ(reply, "");
    EXPECT_EQ(line.OpenCount(), 0);
}

TEST_F(FacadeTest, WindowLoggingOffSilencesThePortsNotTheFacade)
{
    facade.SetWindowLogging(false);
    facade.m_Rs232c.Close();
    facade.m_Cas.AddLogRecord("cas record", LOG_STATUS);
    facade.AddLogRecord("facade record", LOG_STATUS);
    EXPECT_EQ(log.Comm(), std::vector<std::string>{"STAT: facade record"});
}
