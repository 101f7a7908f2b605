// The facade: forwarding by port type, the setup dialog's effects, window logging.
#include "comm/ComIF.h"
#include "comm/SetupDialog.h"
#include "platform/profile/Profile.h"
#include "tests/support/FakeSerialDevice.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

// Plays the setup dialog: answers OK with prepared values, or Cancel.
struct ScriptedDialog {
    bool ok = true;
    CComSettings chosen;
    int casPortIndex = -1;
    int portType = PORT_RS232C;

    int runs = 0;
    CComSettings offered;
    int offeredIndex = -2;
    int offeredType = -2;
    CComIF* offeredFacade = nullptr;
};

class DialogPlayer final : public ISetupDialog {
public:
    explicit DialogPlayer(ScriptedDialog& script) : m_script(script) {}
    bool DoModal(CComIF* comIF, CComSettings& settings, int& casPortIndex, int& portType) override
    {
        ++m_script.runs;
        m_script.offeredFacade = comIF;
        m_script.offered = settings;
        m_script.offeredIndex = casPortIndex;
        m_script.offeredType = portType;
        if (!m_script.ok)
            return false;
        settings = m_script.chosen;
        casPortIndex = m_script.casPortIndex;
        portType = m_script.portType;
        return true;
    }

private:
    ScriptedDialog& m_script;
};

class FacadeTest : public ::testing::Test {
protected:
    FacadeTest()
    {
        previous = SetSetupDialogFactory([this] { return std::make_unique<DialogPlayer>(script); });
        facade.m_Rs232c.SetDeviceFactory([this] { return line.MakeDevice(); });
        script.chosen.PortName = "COM2";
        script.chosen.BaudRate = 19200;
        script.chosen.ByteSize = 8;
        script.chosen.HsTimeOut = 1500;
        script.chosen.Prefix = 2;
        script.chosen.Suffix = 3;
    }
    ~FacadeTest() override { SetSetupDialogFactory(std::move(previous)); }

    bool Logged(const std::string& record) const
    {
        const auto comm = log.Comm();
        return std::find(comm.begin(), comm.end(), record) != comm.end();
    }

    ScopedSettingsDir store;
    LogRecorder log;
    MessageBoxRecorder boxes;
    FakeLine line;
    ScriptedDialog script;
    SetupDialogFactory previous;
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

TEST_F(FacadeTest, SetupOkAppliesStoresAndReopens)
{
    facade.Initialize();
    facade.m_Settings.PortName = "COM4";
    script.portType = PORT_RS232C;
    EXPECT_EQ(facade.ShowSetupDialog(), 0);

    EXPECT_EQ(script.runs, 1);
    EXPECT_EQ(script.offeredFacade, &facade);
    EXPECT_EQ(script.offered.PortName, "COM4") << "the dialog edits a copy of the facade's block";
    EXPECT_EQ(script.offeredType, PORT_CAMERALINK);
    EXPECT_EQ(facade.m_Settings, script.chosen);
    EXPECT_EQ(facade.m_Rs232c.m_Settings, script.chosen);
    EXPECT_EQ(facade.m_Cas.m_Settings, script.chosen);
    EXPECT_EQ(facade.PortType, PORT_RS232C);
    // The facade saves last, so its values stand in the store.
    EXPECT_EQ(profile::GetProfileInt(kCommSection, "Port type", -1), PORT_RS232C);
    EXPECT_EQ(profile::GetProfileInt(kCommSection, "BaudRate", -1), 19200);
    EXPECT_EQ(profile::GetProfileString(kCommSection, "Port Name", ""), "COM2");
    EXPECT_EQ(profile::GetProfileInt(kCommSection, "HsTimeOut", -1), 1500);
    // ... and reopened the chosen port.
    EXPECT_EQ(line.PathOpened(), "/dev/ttyS1");
    EXPECT_EQ(facade.IsOpen(), 1);
    EXPECT_TRUE(Logged("STAT: Port open COM2\r"));
}

TEST_F(FacadeTest, SetupOkWithFailingReopenGives263)
{
    line.openError = ENOENT;
    EXPECT_EQ(facade.ShowSetupDialog(), LINK_REOPEN_FAILED);
    EXPECT_EQ(profile::GetProfileString(kCommSection, "Port Name", ""), "COM2")
        << "settings are stored even when the port does not open";
    EXPECT_TRUE(Logged("STAT: Port open Error\r"));
}

TEST_F(FacadeTest, SetupCancelChangesNothing)
{
    facade.Initialize();
    const CComSettings before = facade.m_Settings;
    script.ok = false;
    EXPECT_EQ(facade.ShowSetupDialog(), 0);
    EXPECT_EQ(facade.m_Settings, before);
    EXPECT_EQ(facade.PortType, PORT_CAMERALINK);
    EXPECT_EQ(profile::GetProfileString(kCommSection, "Port Name", "nothing stored"),
              "nothing stored");
    EXPECT_EQ(line.OpenCount(), 0);
}

TEST_F(FacadeTest, CameraLinkWithoutSelectedPortAsksFirst)
{
    facade.PortType = PORT_CAMERALINK;
    script.ok = false;
    EXPECT_EQ(facade.Open(), 0);
    EXPECT_EQ(script.runs, 1);
    EXPECT_TRUE(Logged("STAT: Port Open Failure Invalid Port No."));
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
