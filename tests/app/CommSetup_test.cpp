// The COMM Setup loop on the facade: the dialog's choice applied, stored and opened, the user told
// why a port does not open, and Camera Link without a port asked for first.
#include "app/CommSetup.h"
#include "app/SetupDialog.h"
#include "comm/ComIF.h"
#include "platform/profile/Profile.h"
#include "tests/support/FakeSerialDevice.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <cstdint>
#include <functional>

using namespace testing_support;

namespace {

// Plays the setup dialog: answers OK with prepared values, or Cancel.
struct ScriptedDialog {
    bool ok = true;
    CComSettings chosen;
    int casPortIndex = -1;
    int portType = PORT_RS232C;

    int runs = 0;
    // Called at each run before it answers, with the run's number from 1.
    std::function<void(int run)> onRun;
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
        if (m_script.onRun)
            m_script.onRun(m_script.runs);
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
        facade.m_Rs232c.SetDeviceFactory(
            [this](const serial::PortAddress&) { return line.MakeDevice(); });
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

TEST_F(FacadeTest, SetupOkAppliesStoresAndReopens)
{
    facade.Initialize();
    facade.m_Settings.PortName = "COM4";
    script.portType = PORT_RS232C;
    EXPECT_EQ(ShowCommSetup(facade), 0);

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
    // OK on a port that does not open brings the dialog back with the reason; Cancel ends it.
    line.openError = ENOENT;
    script.onRun = [this](int run) { script.ok = run == 1; };
    EXPECT_EQ(ShowCommSetup(facade), LINK_REOPEN_FAILED);
    EXPECT_EQ(script.runs, 2);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "COMM Setup");
    EXPECT_EQ(boxes.Boxes()[0].text.rfind("The port could not be opened: ", 0), 0u)
        << boxes.Boxes()[0].text;
    EXPECT_EQ(profile::GetProfileString(kCommSection, "Port Name", ""), "COM2")
        << "settings are stored even when the port does not open";
    EXPECT_TRUE(Logged("STAT: Port open Error\r"));
}

TEST_F(FacadeTest, SetupCancelChangesNothing)
{
    facade.Initialize();
    const CComSettings before = facade.m_Settings;
    script.ok = false;
    EXPECT_EQ(ShowCommSetup(facade), 0);
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
    EXPECT_EQ(OpenPortAsking(facade), 0);
    EXPECT_EQ(script.runs, 1);
    EXPECT_TRUE(Logged("STAT: Port Open Failure Invalid Port No."));
}

TEST_F(FacadeTest, OkOnCameraLinkWithoutPortAsksAgainInALoopStoringOncePerOk)
{
    // Fifty times OK with Camera Link and no port chosen, then Cancel. Each run sees the
    // previous run's time-out stored, and every run starts at the same stack depth.
    constexpr int kPresses = 50;
    facade.PortType = PORT_CAMERALINK;
    script.portType = PORT_CAMERALINK;
    script.casPortIndex = -1;
    std::uintptr_t lowest = UINTPTR_MAX;
    std::uintptr_t highest = 0;
    std::vector<int> storedAtRun;
    script.onRun = [&](int run) {
        const auto frame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
        lowest = std::min(lowest, frame);
        highest = std::max(highest, frame);
        storedAtRun.push_back(profile::GetProfileInt(kCommSection, "HsTimeOut", 0));
        script.chosen.HsTimeOut = 1000 + run;
        script.ok = run <= kPresses;
    };
    EXPECT_EQ(ShowCommSetup(facade), LINK_REOPEN_FAILED);

    EXPECT_EQ(script.runs, kPresses + 1);
    EXPECT_LT(highest - lowest, 256u) << "the dialog is not re-entered through the port's open";
    ASSERT_EQ(storedAtRun.size(), static_cast<std::size_t>(kPresses + 1));
    for (int run = 2; run <= kPresses + 1; ++run) {
        EXPECT_EQ(storedAtRun[run - 1], 1000 + run - 1) << "stored by the OK before run " << run;
    }
    EXPECT_EQ(profile::GetProfileInt(kCommSection, "HsTimeOut", 0), 1000 + kPresses)
        << "the Cancel stores nothing";
    EXPECT_FALSE(facade.IsOpen());

    // Switching to RS-232C on the next OK ends the loop and opens that port.
    script.runs = 0;
    script.onRun = [&](int run) {
        script.ok = true;
        script.portType = run < 3 ? PORT_CAMERALINK : PORT_RS232C;
    };
    EXPECT_EQ(OpenPortAsking(facade), 1);
    EXPECT_EQ(script.runs, 3);
    EXPECT_EQ(line.OpenCount(), 1);
}

TEST_F(FacadeTest, CancelAtStartUpOpensTheStoredPortAndStoresNothing)
{
    struct Row {
        const char* name;
        SetupCancel onCancel;
        int opens;
    };
    const Row rows[] = {
        {"from the menu", SetupCancel::KeepPort, 0},
        {"at start-up", SetupCancel::OpenStoredPort, 1},
    };
    profile::WriteProfileInt(kCommSection, "Port type", PORT_RS232C);
    profile::WriteProfileString(kCommSection, "Port Name", "COM2");
    const std::string storeBefore = [] {
        std::ifstream in(profile::StoreFileName());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CComIF fresh;
        fresh.m_Rs232c.SetDeviceFactory(
            [this](const serial::PortAddress&) { return line.MakeDevice(); });
        fresh.Initialize();
        const int opensBefore = line.OpenCount();
        script.ok = false;
        EXPECT_EQ(ShowCommSetup(fresh, row.onCancel), 0);
        EXPECT_EQ(line.OpenCount() - opensBefore, row.opens);
        EXPECT_EQ(fresh.IsOpen(), row.opens);
        if (row.opens) {
            EXPECT_EQ(line.PathOpened(), "/dev/ttyS1") << "the stored port, as loaded";
        }
        std::ifstream in(profile::StoreFileName());
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), storeBefore)
            << "nothing stored";
        fresh.Close();
    }
}
