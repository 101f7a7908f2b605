// The communication setup dialog on the simulated frame grabber: what it opens with, what OK
// takes over, and that Cancel changes nothing.
#include "camera/inventory/ChosenCamera.h"
#include "comm/ComIF.h"
#include "app/CommSetDlg.h"
#include "app/CommSetup.h"
#include "platform/profile/Profile.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/TestEnvironment.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class CommSetDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The grabber's library is loaded once per process, at its first use.
        setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);
        res::Install();
        RegisterCommSetDlg();
        comIF.Initialize();
    }
    void TearDown() override
    {
        comIF.m_Cas.Close();
        SetSetupDialogFactory({});
    }

    // Runs the dialog directly on values, answered by answer.
    bool Run(CComSettings& values, int& casPort, int& portType,
             std::function<void(CCommSetDlg&)> answer)
    {
        CCommSetDlg dialog;
        gui_test::WhenModal([&](QWidget*) { answer(dialog); });
        return dialog.DoModal(&comIF, values, casPort, portType);
    }

    static void Press(CCommSetDlg& dialog, int id)
    {
        QTest::mouseClick(dialog.GetDlgItem(id), Qt::LeftButton);
    }

    testing_support::ScopedSettingsDir settings;
    CComIF comIF;
};

CComSettings SomeValues()
{
    CComSettings values;
    values.PortName = "COM3";
    values.BaudRate = 9600;
    values.Parity = 2;
    values.ByteSize = 7;
    values.StopBits = 2;
    values.fDsr = 1;
    values.fRts = 1;
    values.fOutX = 1;
    values.HsTimeOut = 3000;
    values.Prefix = 2;
    values.Suffix = 3;
    values.Suffix2 = 13;
    return values;
}

} // namespace

TEST_F(CommSetDlgTest, OpensWithTheLoadedSettingsAndCancelChangesNothing)
{
    // Nothing stored: the defaults, Camera Link chosen, no Camera Link port yet.
    ASSERT_EQ(comIF.m_Cas.m_nPortCount, 4u);
    const CComSettings before = comIF.m_Settings;
    gui_test::WhenModal([](QWidget* modal) {
        auto& dialog = *static_cast<CCommSetDlg*>(modal);
        EXPECT_EQ(dialog.windowTitle(), "COMM Setup");
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_CAS), 1);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_COMPORT), 0);
        ui::ComboBox com = dialog.GetComboBox(IDC_COMBO_COMPORT);
        ASSERT_GE(com.GetCount(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(com.GetLBText(i), "COM" + std::to_string(i + 1));
        EXPECT_EQ(com.GetCurSel(), 2);
        EXPECT_EQ(dialog.GetComboBox(IDC_COMBO_SPEED).GetCurSel(), 1);
        EXPECT_EQ(dialog.GetComboBox(IDC_COMBO_SPEED).GetCount(), 7);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_TIMEOUT), "3000");
        ui::ComboBox cas = dialog.GetComboBox(IDC_COMBO_CAS_PORT);
        ASSERT_EQ(cas.GetCount(), 4);
        EXPECT_EQ(cas.GetLBText(3), "3");
        EXPECT_EQ(cas.GetCurSel(), -1);
        EXPECT_EQ(cas.GetWindowText(), "---");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_CAS_VENDOR), "");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_CAS_PORTID), "");
        EXPECT_TRUE(dialog.GetEdit(IDC_EDIT_CAS_VENDOR).IsReadOnly());

        // The user changes things, then thinks better of it.
        QTest::keyClick(cas.Widget(), Qt::Key_Down);
        QTest::mouseClick(dialog.GetDlgItem(IDC_RADIO_COMPORT), Qt::LeftButton);
        QTest::mouseClick(dialog.GetDlgItem(ui::IDCANCEL), Qt::LeftButton);
    });
    EXPECT_EQ(ShowCommSetup(comIF), 0);
    EXPECT_EQ(comIF.m_Settings, before);
    EXPECT_EQ(comIF.PortType, 1);
    EXPECT_EQ(comIF.m_Cas.m_nPortIndex, -1);
    EXPECT_FALSE(comIF.IsOpen());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(profile::StoreFileName())))
        << "nothing stored";
}

TEST_F(CommSetDlgTest, ChoosingAPortShowsItsMakerAtOnceAndOkAppliesTheChoice)
{
    gui_test::WhenModal([](QWidget* modal) {
        auto& dialog = *static_cast<CCommSetDlg*>(modal);
        ui::ComboBox cas = dialog.GetComboBox(IDC_COMBO_CAS_PORT);
        QTest::keyClick(cas.Widget(), Qt::Key_Down);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_CAS_VENDOR), "VireoSim");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_CAS_PORTID), "clsim0 RV1240DLX");
        QTest::keyClick(cas.Widget(), Qt::Key_Down);
        EXPECT_EQ(cas.GetCurSel(), 1);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_CAS_PORTID), "clsim1 RV1250LX");

        dialog.GetComboBox(IDC_COMBO_SPEED).SetCurSel(6); // 230400
        auto* timeout = qobject_cast<QLineEdit*>(dialog.GetDlgItem(IDC_EDIT_TIMEOUT));
        timeout->selectAll();
        QTest::keyClicks(timeout, "2500");
        QTest::mouseClick(dialog.GetDlgItem(ui::IDOK), Qt::LeftButton);
    });
    EXPECT_EQ(ShowCommSetup(comIF), 0) << "applied and reopened";
    EXPECT_EQ(comIF.PortType, 1);
    EXPECT_EQ(comIF.m_Cas.m_nPortIndex, 1);
    EXPECT_TRUE(comIF.m_Cas.IsOpen());
    EXPECT_EQ(comIF.m_Settings.BaudRate, 230400);
    EXPECT_EQ(comIF.m_Settings.HsTimeOut, 2500);
    EXPECT_EQ(comIF.m_Settings.PortName, "COM3");

    QSettings stored(QString::fromStdString(profile::StoreFileName()), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Settings/COMM Port/Port type").toInt(), 1);
    EXPECT_EQ(stored.value("Settings/COMM Port/HsTimeOut").toInt(), 2500);
    EXPECT_EQ(stored.value("Settings/COMM Port/LastCasPortID").toString(), "clsim1 RV1250LX");
}

TEST_F(CommSetDlgTest, UnlistedNameAndSpeedOpenWithoutSelection)
{
    CComSettings values = SomeValues();
    values.PortName = "COM5";
    values.BaudRate = 1200;
    int casPort = -1;
    int portType = 0;
    ASSERT_TRUE(Run(values, casPort, portType, [](CCommSetDlg& dialog) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_COMPORT), 1);
        EXPECT_EQ(dialog.GetComboBox(IDC_COMBO_COMPORT).GetCurSel(), -1);
        EXPECT_EQ(dialog.GetComboBox(IDC_COMBO_COMPORT).GetWindowText(), "COM5")
            << "a stored name the list does not hold shows as it is";
        EXPECT_EQ(dialog.GetComboBox(IDC_COMBO_SPEED).GetCurSel(), -1);
        Press(dialog, ui::IDOK);
    }));
    EXPECT_EQ(values.PortName, "COM5") << "no entry chosen: the name stays";
    EXPECT_EQ(values.BaudRate, 9600) << "no speed chosen";
    EXPECT_EQ(portType, 0);

    // The names are compared exactly.
    values.PortName = "com3";
    ASSERT_TRUE(Run(values, casPort, portType, [](CCommSetDlg& dialog) {
        EXPECT_EQ(dialog.GetComboBox(IDC_COMBO_COMPORT).GetCurSel(), -1);
        dialog.GetComboBox(IDC_COMBO_COMPORT).SetCurSel(0);
        Press(dialog, ui::IDOK);
    }));
    EXPECT_EQ(values.PortName, "COM1");
}

TEST_F(CommSetDlgTest, SpeedListCovers230400BothWays)
{
    EXPECT_EQ(CCommSetDlg::SpeedListPosition(4800), 0);
    EXPECT_EQ(CCommSetDlg::SpeedListPosition(115200), 5);
    EXPECT_EQ(CCommSetDlg::SpeedListPosition(230400), 6);
    EXPECT_EQ(CCommSetDlg::SpeedListPosition(460800), -1);
    EXPECT_EQ(CCommSetDlg::BaudRateOfSpeedText("230400"), 230400);
    EXPECT_EQ(CCommSetDlg::BaudRateOfSpeedText("19200"), 19200);
    EXPECT_EQ(CCommSetDlg::BaudRateOfSpeedText("1200"), 9600);
    EXPECT_EQ(CCommSetDlg::BaudRateOfSpeedText(""), 9600);

    CComSettings values = SomeValues();
    values.BaudRate = 230400;
    int casPort = -1;
    int portType = 0;
    ASSERT_TRUE(Run(values, casPort, portType, [](CCommSetDlg& dialog) {
        EXPECT_EQ(dialog.GetComboBox(IDC_COMBO_SPEED).GetCurSel(), 6);
        Press(dialog, ui::IDOK);
    }));
    EXPECT_EQ(values.BaudRate, 230400);
}

TEST_F(CommSetDlgTest, TimeOutOutsideItsRangeIsRefusedAndTheDialogStaysOpen)
{
    struct Row {
        const char* text;
        int taken; // 0: refused
    };
    const Row rows[] = {
        {"1", 1},          {"60000", 60000},
        {" 2500 ", 2500},  {"abc", 0},
        {"", 0},           {"0", 0},
        {"-5", 0},         {"60001", 0},
        {"2147483647", 0}, {"99999999999999999999", 0},
        {"42ms", 0},       {"+7", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        testing_support::MessageBoxRecorder boxes;
        CComSettings values = SomeValues();
        int casPort = -1;
        int portType = 1;
        bool stayedOpen = false;
        const bool ok = Run(values, casPort, portType, [&](CCommSetDlg& dialog) {
            dialog.SetDlgItemText(IDC_EDIT_TIMEOUT, row.text);
            Press(dialog, ui::IDOK);
            stayedOpen = dialog.isVisible();
            if (stayedOpen)
                Press(dialog, ui::IDCANCEL);
        });
        const auto shown = boxes.Boxes();
        if (row.taken) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(values.HsTimeOut, row.taken);
            EXPECT_TRUE(shown.empty());
        } else {
            EXPECT_FALSE(ok) << "the refusal keeps the dialog open until it is cancelled";
            EXPECT_TRUE(stayedOpen);
            EXPECT_EQ(values.HsTimeOut, 3000) << "nothing taken";
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_NE(shown[0].text.find("from 1 to 60000"), std::string::npos) << shown[0].text;
        }
    }
}

TEST_F(CommSetDlgTest, TypedPortNameIsTakenWhenWellFormedAndRefusedOtherwise)
{
    struct Row {
        const char* typed;
        const char* taken;   // nullptr: refused
        const char* because; // part of the message for a refused name
    };
    const std::string longName = "/dev/" + std::string(kPortNameMax, 'x');
    const Row rows[] = {
        {"/tmp/camsim-link", "/tmp/camsim-link", nullptr},
        {"ttyUSB7", "ttyUSB7", nullptr},
        {"  COM2 ", "COM2", nullptr},
        {"rfc2217://camera.local:4001", "rfc2217://camera.local:4001", nullptr},
        {"socket://10.0.0.5:7000", "socket://10.0.0.5:7000", nullptr},
        {"", "COM3", nullptr}, // nothing typed keeps the name
        {"socket://10.0.0.5", nullptr, "no port"},
        {"rfc2217://camera.local:99999", nullptr, "65535"},
        {"telnet://camera:23", nullptr, "unknown kind of port"},
        {longName.c_str(), nullptr, "longer than"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        testing_support::MessageBoxRecorder boxes;
        CComSettings values = SomeValues();
        int casPort = -1;
        int portType = 0;
        const bool ok = Run(values, casPort, portType, [&](CCommSetDlg& dialog) {
            dialog.GetComboBox(IDC_COMBO_COMPORT).SetWindowText(row.typed);
            Press(dialog, ui::IDOK);
            if (dialog.isVisible())
                Press(dialog, ui::IDCANCEL);
        });
        const auto shown = boxes.Boxes();
        if (row.taken) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(values.PortName, row.taken);
            EXPECT_TRUE(shown.empty());
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(values.PortName, "COM3");
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_NE(shown[0].text.find(row.because), std::string::npos) << shown[0].text;
            EXPECT_EQ(shown[0].caption, "COMM Setup");
        }
    }

    // A typed name is opened on OK: a pseudo-terminal's path reaches the RS-232C port.
    testing_support::LogRecorder log;
    gui_test::WhenModal([](QWidget* modal) {
        auto& dialog = *static_cast<CCommSetDlg*>(modal);
        Press(dialog, IDC_RADIO_COMPORT);
        dialog.GetComboBox(IDC_COMBO_COMPORT).SetWindowText("/dev/ptmx");
        Press(dialog, ui::IDOK);
    });
    ShowCommSetup(comIF);
    EXPECT_EQ(comIF.m_Settings.PortName, "/dev/ptmx");
    const auto comm = log.Comm();
    EXPECT_NE(std::find(comm.begin(), comm.end(), "STAT: Port open /dev/ptmx\r"), comm.end());
    comIF.m_Rs232c.Close();
}

TEST_F(CommSetDlgTest, OkCarriesTheOtherSettingsThroughAndTakesThePortKind)
{
    const CComSettings original = SomeValues();
    CComSettings values = original;
    int casPort = 2;
    int portType = 1;
    ASSERT_TRUE(Run(values, casPort, portType, [](CCommSetDlg& dialog) {
        EXPECT_EQ(dialog.GetComboBox(IDC_COMBO_CAS_PORT).GetCurSel(), 2);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_CAS_PORTID), "clsim2 RVQM52BM14");
        Press(dialog, IDC_RADIO_COMPORT);
        Press(dialog, ui::IDOK);
    }));
    EXPECT_EQ(portType, 0);
    EXPECT_EQ(casPort, 2);
    EXPECT_EQ(values, original);
}

TEST_F(CommSetDlgTest, PortIndexWithoutPortShowsNothingAndComesBackAsNone)
{
    CComSettings values = SomeValues();
    int casPort = 7;
    int portType = 1;
    ASSERT_TRUE(Run(values, casPort, portType, [](CCommSetDlg& dialog) {
        EXPECT_EQ(dialog.GetComboBox(IDC_COMBO_CAS_PORT).GetCurSel(), -1);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_CAS_VENDOR), "");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_CAS_PORTID), "");
        Press(dialog, ui::IDOK);
    }));
    EXPECT_EQ(casPort, -1);

    // A grabber without ports: an empty list showing "---".
    comIF.m_Cas.m_nPortCount = 0;
    casPort = -1;
    ASSERT_TRUE(Run(values, casPort, portType, [](CCommSetDlg& dialog) {
        ui::ComboBox cas = dialog.GetComboBox(IDC_COMBO_CAS_PORT);
        EXPECT_EQ(cas.GetCount(), 0);
        EXPECT_EQ(cas.GetWindowText(), "---");
        QTest::keyClick(cas.Widget(), Qt::Key_Down);
        Press(dialog, ui::IDOK);
    }));
    EXPECT_EQ(casPort, -1);
}

TEST_F(CommSetDlgTest, ComListOffersThisMachinesSerialDevicesAfterTheComNames)
{
    const std::string dir = testing_support::MakeTempDir("vireo-dev-");
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyUSBx", "tty5", "null"})
        std::ofstream(dir + "/" + name);
    EXPECT_EQ(ListSerialDevices(dir),
              (std::vector<std::string>{dir + "/ttyACM0", dir + "/ttyUSB2", dir + "/ttyUSB10"}));
    // Stable names of the listed devices, and only of those.
    const std::string byId = dir + "/serial/by-id";
    std::filesystem::create_directories(byId);
    std::filesystem::create_symlink("../../ttyUSB2", byId + "/usb-FTDI_FT232R_A1-if00-port0");
    std::filesystem::create_symlink(dir + "/ttyACM0", byId + "/usb-Arduino_Uno_B2-if00");
    std::filesystem::create_symlink("../../null", byId + "/usb-Other-if00");
    std::filesystem::create_symlink("../../gone", byId + "/usb-Gone-if00");
    EXPECT_EQ(ListSerialDeviceAliases(ListSerialDevices(dir), byId),
              (std::vector<std::string>{byId + "/usb-Arduino_Uno_B2-if00",
                                        byId + "/usb-FTDI_FT232R_A1-if00-port0"}));
    testing_support::RemoveTree(dir);

    const std::vector<std::string> devices = ListSerialDevices();
    CComSettings values = SomeValues();
    int casPort = -1;
    int portType = 0;
    ASSERT_TRUE(Run(values, casPort, portType, [&](CCommSetDlg& dialog) {
                    ui::ComboBox com = dialog.GetComboBox(IDC_COMBO_COMPORT);
                    const auto aliases = ListSerialDeviceAliases(devices);
                    ASSERT_EQ(com.GetCount(),
                              static_cast<int>(4 + devices.size() + aliases.size()));
                    for (std::size_t i = 0; i < devices.size(); ++i)
                        EXPECT_EQ(com.GetLBText(static_cast<int>(4 + i)), devices[i]);
                    Press(dialog, ui::IDCANCEL);
                }) == false);
}

TEST_F(CommSetDlgTest, OkOnAPortThatDoesNotOpenSaysWhyAndBringsTheDialogBack)
{
    struct Row {
        const char* name;
        const char* reason; // part of what the box says
    };
    const Row rows[] = {
        {"socket://127.0.0.1:1", "refused"},
        {"/dev/ttyVireoNoSuchDevice", "/dev/ttyVireoNoSuchDevice"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing_support::MessageBoxRecorder boxes;
        bool reopened = false;
        gui_test::WhenModal([&](QWidget* modal) {
            auto& dialog = *static_cast<CCommSetDlg*>(modal);
            QTest::mouseClick(dialog.GetDlgItem(IDC_RADIO_COMPORT), Qt::LeftButton);
            dialog.GetComboBox(IDC_COMBO_COMPORT).SetWindowText(row.name);
            // The dialog comes back after the box: this time the user gives up.
            gui_test::WhenModal([&](QWidget* again) {
                reopened = dynamic_cast<CCommSetDlg*>(again) != nullptr;
                if (auto* dialogAgain = dynamic_cast<CCommSetDlg*>(again))
                    QTest::mouseClick(dialogAgain->GetDlgItem(ui::IDCANCEL), Qt::LeftButton);
            });
            QTest::mouseClick(dialog.GetDlgItem(ui::IDOK), Qt::LeftButton);
        });
        EXPECT_EQ(ShowCommSetup(comIF), LINK_REOPEN_FAILED);
        EXPECT_TRUE(reopened);
        EXPECT_FALSE(comIF.IsOpen());
        const auto shown = boxes.Boxes();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].caption, "COMM Setup");
        EXPECT_EQ(shown[0].text.rfind("The port could not be opened: ", 0), 0u) << shown[0].text;
        EXPECT_NE(shown[0].text.find(row.reason), std::string::npos) << shown[0].text;
    }
}

TEST_F(CommSetDlgTest, AnEmptyCameraLinkListSaysWhy)
{
    struct Row {
        std::uint32_t ports;
        const char* reason;
    };
    const Row rows[] = {{4, ""}, {0, "There is no Camera Link port."}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ports);
        comIF.m_Cas.m_nPortCount = row.ports;
        CComSettings values = SomeValues();
        int casPort = -1;
        int portType = 1;
        std::string shown;
        Run(values, casPort, portType, [&](CCommSetDlg& dialog) {
            shown = dialog.GetDlgItemText(IDC_TEXT_CAS_PROBLEM);
            Press(dialog, ui::IDCANCEL);
        });
        EXPECT_EQ(shown, row.reason);
    }
}

// The inventory's cameras by name: none without an inventory, and a faulty one is named while
// the ports still serve.
TEST_F(CommSetDlgTest, TheInventorysCamerasAreOfferedByName)
{
    const testing_support::ScopedConfigHome config;
    struct Row {
        const char* inventory; // null: no file
        std::vector<std::string> offered;
        std::string note;
    };
    const Row rows[] = {
        {nullptr, {"(none)"}, ""},
        {"[cameras.line3-cam2]\nport = \"/dev/ttyUSB3\"\n\n[cameras.line3-cam1]\nport = \"cl:2\"\n",
         {"(none)", "line3-cam2", "line3-cam1"},
         ""},
        {"[cameras.a]\nport = 5\n", {"(none)"}, config.Inventory() + ":2: a: port is not a text"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.note);
        if (row.inventory)
            config.WriteInventory(row.inventory);
        CComSettings values = SomeValues();
        int casPort = -1;
        int portType = 0;
        std::vector<std::string> offered;
        std::string note;
        int ports = 0;
        Run(values, casPort, portType, [&](CCommSetDlg& dialog) {
            ui::ComboBox cameras = dialog.GetComboBox(IDC_COMBO_CAMERA);
            for (int i = 0; i < cameras.GetCount(); ++i)
                offered.push_back(cameras.GetLBText(i));
            EXPECT_EQ(cameras.GetCurSel(), 0);
            EXPECT_FALSE(cameras.Widget()->accessibleName().isEmpty());
            note = dialog.GetDlgItemText(IDC_TEXT_INVENTORY_PROBLEM);
            ports = dialog.GetComboBox(IDC_COMBO_COMPORT).GetCount();
            Press(dialog, ui::IDCANCEL);
        });
        EXPECT_EQ(offered, row.offered);
        EXPECT_EQ(note, row.note);
        EXPECT_GE(ports, 4);
    }
}

// Choosing a camera chooses its port, which OK opens; the camera is remembered while its port
// is the one chosen.
TEST_F(CommSetDlgTest, ChoosingAnInventoryCameraOpensItsPortAndIsRemembered)
{
    const testing_support::ScopedConfigHome config;
    testing_support::PtyCamera pty(camsim::Model::RVQM52CM14);
    std::string failure;
    ASSERT_TRUE(pty.Start(failure)) << failure;
    config.WriteInventory("[cameras.line3-cam2]\nport = \"" + pty.Path() +
                          "\"\nmodel = \"RVQM52CM14\"\n\n[cameras.line3-cam1]\nport = \"cl:2\"\n");
    struct Row {
        const char* choose;
        bool thenCameraLink; // the user then switches to the Camera Link port by hand
        const char* shownFirst;
        int portType;
        const char* stored;
    };
    const Row rows[] = {
        {"line3-cam2", false, "(none)", 0, "line3-cam2"},
        {"line3-cam1", false, "line3-cam2", 1, "line3-cam1"},
        {"line3-cam2", true, "line3-cam1", 1, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.choose);
        std::string shownFirst;
        gui_test::WhenModal([&](QWidget* modal) {
            auto& dialog = *static_cast<CCommSetDlg*>(modal);
            auto* cameras = qobject_cast<QComboBox*>(dialog.GetDlgItem(IDC_COMBO_CAMERA));
            shownFirst = cameras->currentText().toStdString();
            const int at = cameras->findText(row.choose);
            cameras->setCurrentIndex(at);
            emit cameras->activated(at);
            if (row.thenCameraLink)
                Press(dialog, IDC_RADIO_CAS);
            Press(dialog, ui::IDOK);
        });
        EXPECT_EQ(ShowCommSetup(comIF), 0);
        EXPECT_EQ(shownFirst, row.shownFirst);
        EXPECT_EQ(comIF.PortType, row.portType);
        if (row.portType == 0) {
            EXPECT_EQ(comIF.m_Settings.PortName, pty.Path());
            EXPECT_TRUE(comIF.m_Rs232c.IsOpen());
        } else {
            EXPECT_EQ(comIF.m_Cas.m_nPortIndex, 2);
            EXPECT_TRUE(comIF.m_Cas.IsOpen());
        }
        EXPECT_EQ(inventory::StoredCameraName(), row.stored);
    }
    comIF.m_Rs232c.Close();
}
