// The whole program on a simulated RV1240DLX at the end of a pseudo-terminal, through its own
// RS-232C port: the "Info" page shown or refreshed on a silent camera costs one request and one
// message box per user action, nothing of a failure outlives its action, and "Cancel" in the
// progress window ends a slow action with nothing more sent.
#include "app/ActionUi.h"
#include "app/CommSetDlg.h"
#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "app/WindowSettings.h"
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "platform/profile/Profile.h"
#include "platform/ui/OpenFileDialog.h"
#include "platform/ui/SaveFileDialog.h"
#include "res/Resource.h"
#include "res/ids/Rv1240.h"
#include "tests/app/GrabberStartup.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kReplyTimeOutMs = 300;
constexpr int kInfoTab = 0;
constexpr int kRegisterTab = 5;
constexpr int kSerialAddress = 0x20;

// The program, its camera and what it has shown, for all tests of this program.
struct Program {
    ScopedSettingsDir settings;
    PtyCamera pty;
    CVireoView* view = nullptr;
    std::unique_ptr<MessageBoxRecorder> boxes;
    std::string startModel; // the model chosen when start-up was over
};
Program* g_program = nullptr;

// The communication log window's records, each with its own ending but not the line break.
std::vector<std::string> CommRecords()
{
    std::vector<std::string> records;
    const std::string text = LogWindow()->m_tabComm.Text();
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find("\r\n", from);
        if (end == std::string::npos)
            end = text.size();
        records.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    return records;
}

int CountStarting(const std::vector<std::string>& records, const std::string& prefix)
{
    return static_cast<int>(std::count_if(records.begin(), records.end(),
                                          [&](const auto& r) { return r.rfind(prefix, 0) == 0; }));
}

// The main window's menu item that runs command, as the user picks it.
QAction* MenuItem(const QList<QAction*>& actions, int command)
{
    for (QAction* action : actions) {
        if (QMenu* menu = action->menu()) {
            if (QAction* found = MenuItem(menu->actions(), command))
                return found;
        } else if (action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

// Answers the file dialogs with one path.
class FileAnswers : public ui::SaveFileDialog, public ui::OpenFileDialog {
public:
    explicit FileAnswers(std::string path) : m_path(std::move(path))
    {
        ui::SetSaveFileDialog(this);
        ui::SetOpenFileDialog(this);
    }
    ~FileAnswers() override
    {
        ui::SetSaveFileDialog(nullptr);
        ui::SetOpenFileDialog(nullptr);
    }
    std::optional<std::string> Ask(QWidget*, const ui::SaveFileRequest&) override { return m_path; }
    std::optional<std::string> Ask(QWidget*, const ui::OpenFileRequest&) override { return m_path; }

private:
    std::string m_path;
};

// The records that tell how an action ended early.
std::vector<std::string> EndRecords(const std::vector<std::string>& records)
{
    std::vector<std::string> ends;
    for (const std::string& record : records)
        if (record.find("exchanges skipped") != std::string::npos)
            ends.push_back(record);
    return ends;
}

class PageOnSerialPort : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);
        g_program = new Program;
        std::string failure;
        if (!g_program->pty.Start(failure)) {
            ADD_FAILURE() << failure;
            return;
        }
        // The user's stored choice: this port, a short reply time-out, and the model chosen in
        // the last run; start-up ends in the setup dialog, which the user leaves with OK.
        profile::SetRegistryKey("KORVALIS CORPORATION", "VireoStudio");
        profile::WriteProfileString(kWindowSection, kLastModelEntry, "RV1240DLX");
        g_program->view = StartOnSerialPort(g_program->pty.Path(), kReplyTimeOutMs);
        if (g_program->view)
            g_program->startModel =
                g_program->view->GetComboBox(IDC_COMBO_MODEL).Widget()->currentText().toStdString();
        // Installed after start-up, which hooks the window's own boxes.
        g_program->boxes = std::make_unique<MessageBoxRecorder>();
    }

    static void TearDownTestSuite()
    {
        g_program->boxes.reset();
        if (g_program->view)
            CloseProgram();
        g_ComIF.Close();
        delete g_program;
        g_program = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(g_program->view, nullptr) << "the program did not start";
        ASSERT_TRUE(g_ComIF.IsOpen());
        ASSERT_EQ(g_ComIF.PortType, PORT_RS232C);
        ASSERT_EQ(g_ComIF.m_Rs232c.m_Settings.PortName, g_program->pty.Path());
        ASSERT_EQ(g_ComIF.m_Rs232c.m_Settings.HsTimeOut, kReplyTimeOutMs);
        Camera().SetFaults({});
        ChooseModel(*g_program->view, "RV1240DLX");
        ASSERT_TRUE(Tabs().IsWindowVisible());
    }

    void TearDown() override
    {
        Camera().SetFaults({});
        g_ComIF.m_Rs232c.m_Settings.HsTimeOut = kReplyTimeOutMs;
    }

    static camsim::Camera& Camera() { return g_program->pty.camera; }
    static CVireoView& View() { return *g_program->view; }
    static CCmd40Info& Info() { return g_program->view->m_cmd40Info; }
    static ui::TabCtrl Tabs() { return g_program->view->GetTabCtrl(IDC_TAB_RV1240); }
    static std::size_t Boxes() { return g_program->boxes->Boxes().size(); }

    static void ClickTab(int index)
    {
        QTabBar* bar = Tabs().Widget()->Bar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        ASSERT_EQ(Tabs().GetCurSel(), index);
    }

    // Another tab, whose page reads nothing, then "Info": the page is shown afresh.
    static void ShowInfo()
    {
        ClickTab(kRegisterTab);
        ASSERT_TRUE(Info().isHidden());
        ClickTab(kInfoTab);
        ASSERT_TRUE(Info().isVisible());
    }

    static void PressRefresh()
    {
        ASSERT_TRUE(Info().isVisible());
        QTest::mouseClick(Info().GetDlgItem(IDC_40INFO_REFRESH), Qt::LeftButton);
    }

    static void PutSerial(const std::string& serial)
    {
        for (std::size_t i = 0; i < serial.size(); ++i)
            Camera().Set(kSerialAddress + static_cast<int>(i),
                         static_cast<std::uint8_t>(serial[i]));
    }

    // Starts an action's counts afresh.
    static void ClearCounts()
    {
        LogWindow()->m_tabComm.Clear();
        Camera().ClearRequests();
    }

    // The camera has seen every request the log says was sent.
    static int SettledRequests()
    {
        const int sent = CountStarting(CommRecords(), "SEND: ");
        gui_test::WaitFor([&] { return static_cast<int>(Camera().Requests().size()) >= sent; });
        return static_cast<int>(Camera().Requests().size());
    }
};

enum class Step { ShowInfo, Refresh };

struct SilentCase {
    const char* name;
    camsim::Fault fault;
    Step step;
    const char* cameraSerial; // what the camera holds during the action
    const char* shownSerial;  // what the page shows afterwards
    int requests;             // -1: as many as the page reads, more than one
    const char* endRecord;    // the one record of the exchanges skipped, or none
};

TEST_F(PageOnSerialPort, ASilentCameraCostsOneRequestAndOneBoxPerActionAndNothingIsLatched)
{
    const char* const kTimeOutEnd = "STAT: Link error 256: 3 exchanges skipped\r";
    const SilentCase cases[] = {
        {"Info shown, the camera answers", camsim::Fault::None, Step::ShowInfo, "4010237",
         "4010237", -1, nullptr},
        {"Refresh, the camera answers", camsim::Fault::None, Step::Refresh, "5550001", "5550001",
         -1, nullptr},
        {"Info shown, the camera is silent", camsim::Fault::Silent, Step::ShowInfo, "5550002",
         kSerialNoUnknown, 1, kTimeOutEnd},
        {"Refresh, the camera is silent", camsim::Fault::Silent, Step::Refresh, "5550003",
         kSerialNoUnknown, 1, kTimeOutEnd},
        {"Refresh again, the camera is still silent", camsim::Fault::Silent, Step::Refresh,
         "5550004", kSerialNoUnknown, 1, kTimeOutEnd},
        {"Refresh, the camera answers again", camsim::Fault::None, Step::Refresh, "5550005",
         "5550005", -1, nullptr},
        {"Info shown, the camera answers again", camsim::Fault::None, Step::ShowInfo, "5550006",
         "5550006", -1, nullptr},
    };
    for (const SilentCase& c : cases) {
        SCOPED_TRACE(c.name);
        PutSerial(c.cameraSerial);
        Camera().SetFaults({c.fault, false, 0, 0});
        ClearCounts();
        const std::size_t boxesBefore = Boxes();

        if (c.step == Step::ShowInfo)
            ShowInfo();
        else
            PressRefresh();
        QApplication::processEvents();

        const std::vector<std::string> records = CommRecords();
        const int sent = CountStarting(records, "SEND: ");
        const int requests = SettledRequests();
        EXPECT_EQ(requests, sent) << "every request in the log reached the camera";
        if (c.requests < 0)
            EXPECT_GT(requests, 1);
        else
            EXPECT_EQ(requests, c.requests);

        const auto boxes = g_program->boxes->Boxes();
        const std::vector<RecordedBox> shown(boxes.begin() + static_cast<long>(boxesBefore),
                                             boxes.end());
        const std::vector<std::string> ends = EndRecords(records);
        if (c.endRecord) {
            ASSERT_EQ(shown.size(), 1u) << "one box for the whole action";
            EXPECT_EQ(shown[0].caption, "Communication Error");
            EXPECT_EQ(shown[0].text, "RCV Timeout");
            EXPECT_EQ(ends, std::vector<std::string>{c.endRecord});
            EXPECT_EQ(CountStarting(records, "STAT: RCV Timeout"), 1);
        } else {
            EXPECT_TRUE(shown.empty()) << shown.front().text;
            EXPECT_TRUE(ends.empty()) << ends.front();
            EXPECT_EQ(Info().GetDlgItemText(IDC_40INFO_VENDOR), "KORVALIS");
            EXPECT_EQ(Info().GetDlgItemText(IDC_40INFO_MODEL), "RV1240DLX");
        }
        EXPECT_EQ(Info().GetDlgItemText(IDC_40INFO_SERIAL), c.shownSerial);
        EXPECT_FALSE(CActionUi::Current()->Running());
    }
}

TEST_F(PageOnSerialPort, AMenuCommandOnASilentCameraShowsOneBoxThatSaysWhatWasNotDone)
{
    const std::string path = g_program->settings.Path() + "/silent.json";
    std::ofstream(path) << R"({"format": "VireoStudio camera settings", "version": 1,
                              "model": "RV1240DLX", "settings": {"BitInfo": 0}})";
    FileAnswers answers(path);
    struct Row {
        int command;
        const char* caption;
        const char* text;
    };
    const Row rows[] = {
        {ID_FILE_SAVE_CAMERA_SETTINGS, "Camera Settings",
         "The camera's model could not be read: RS232C Timeout.\nNo file was written."},
        {ID_FILE_LOAD_CAMERA_SETTINGS, "Camera Settings",
         "The camera's model could not be read: RS232C Timeout.\nNothing was sent to the camera."},
        {ID_COMM_IDENTIFY_CAMERA, "Identify Camera",
         "The camera could not be identified: RS232C Timeout."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        QAction* item = MenuItem(theApp.m_pMainWnd->menuBar()->actions(), row.command);
        ASSERT_NE(item, nullptr);
        Camera().SetFaults({camsim::Fault::Silent, false, 0, 0});
        ClearCounts();
        const std::size_t boxesBefore = Boxes();
        item->trigger();
        QApplication::processEvents();

        const auto boxes = g_program->boxes->Boxes();
        const std::vector<RecordedBox> shown(boxes.begin() + static_cast<long>(boxesBefore),
                                             boxes.end());
        ASSERT_EQ(shown.size(), 1u) << shown.front().caption << ": " << shown.front().text;
        EXPECT_EQ(shown[0].caption, row.caption);
        EXPECT_EQ(shown[0].text, row.text);
        // The port's failure is still in the log, and the next action starts with nothing owed.
        EXPECT_EQ(CountStarting(CommRecords(), "STAT: RCV Timeout"), 1);
        EXPECT_FALSE(CActionUi::Current()->Running());
    }
    Camera().SetFaults({});
    ClearCounts();
    const std::size_t boxesBefore = Boxes();
    ShowInfo();
    EXPECT_EQ(Boxes(), boxesBefore) << "nothing of the failures is shown later";
}

TEST_F(PageOnSerialPort, TheModelChosenLastIsChosenAtStartAndEachChoiceIsStored)
{
    EXPECT_EQ(g_program->startModel, "RV1240DLX");
    EXPECT_FALSE(Tabs().Widget()->isHidden()) << "its pages are on show";
    const char* const choices[] = {"RV1240DLX", "RVQM52BM14", "RV1240DLX"};
    for (const char* model : choices) {
        profile::WriteProfileString(kWindowSection, kLastModelEntry, "none");
        ChooseModel(View(), model);
        EXPECT_EQ(profile::GetProfileString(kWindowSection, kLastModelEntry, ""), model);
    }
}

enum class CancelBy { Button, Escape };

struct CancelCase {
    const char* name;
    Step step;
    CancelBy by;
    const char* label; // what the progress window says is being done
};

TEST_F(PageOnSerialPort, CancelEndsASlowActionWithNothingMoreSentAndNoBox)
{
    constexpr int kReplyDelayMs = 400;
    constexpr int kSlowTimeOutMs = 5000;
    const CancelCase cases[] = {
        {"Refresh, the Cancel button", Step::Refresh, CancelBy::Button,
         "Refresh: talking to the camera..."},
        {"Info shown, Escape", Step::ShowInfo, CancelBy::Escape, "Reading Info from the camera..."},
        {"Info shown, the Cancel button", Step::ShowInfo, CancelBy::Button,
         "Reading Info from the camera..."},
    };
    CActionUi* actionUi = CActionUi::Current();
    ASSERT_NE(actionUi, nullptr);
    ShowInfo(); // a refresh needs the page on show; the camera still answers at once
    for (const CancelCase& c : cases) {
        SCOPED_TRACE(c.name);
        PutSerial("4010237");
        g_ComIF.m_Rs232c.m_Settings.HsTimeOut = kSlowTimeOutMs;
        Camera().SetFaults({camsim::Fault::None, false, kReplyDelayMs, 0});
        ClearCounts();
        const std::size_t boxesBefore = Boxes();

        int ticksInAction = 0;
        int sentAtCancel = -1;
        std::string label;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (!actionUi->Running())
                return;
            ++ticksInAction;
            QDialog* progress = actionUi->ProgressWindow();
            if (!progress || !progress->isVisible() || sentAtCancel >= 0)
                return;
            label = progress->findChild<QLabel*>()->text().toStdString();
            sentAtCancel = CountStarting(CommRecords(), "SEND: ");
            if (c.by == CancelBy::Escape)
                QTest::keyClick(progress, Qt::Key_Escape);
            else
                progress->findChild<QPushButton*>()->click();
        });
        timer.start(10);
        if (c.step == Step::ShowInfo)
            ShowInfo();
        else
            PressRefresh();
        timer.stop();

        EXPECT_GT(ticksInAction, 0) << "timer events were taken while the action waited";
        ASSERT_GT(sentAtCancel, 0) << "the progress window was shown";
        EXPECT_EQ(label.rfind(c.label, 0), 0u) << label;
        std::vector<std::string> records = CommRecords();
        EXPECT_EQ(CountStarting(records, "SEND: "), sentAtCancel) << "nothing sent after Cancel";
        // The read on the wire when Cancel came ends it; the other three texts are not asked.
        EXPECT_EQ(EndRecords(records),
                  std::vector<std::string>{"STAT: Cancelled by the user: 3 exchanges skipped\r"});
        EXPECT_EQ(Boxes(), boxesBefore) << "a cancel shows no box";
        EXPECT_EQ(actionUi->ProgressWindow(), nullptr);

        // The camera answers what it was asked, late; nothing more reaches it.
        EXPECT_TRUE(gui_test::WaitFor([&] {
            return CountStarting(CommRecords(), "RCV : ") == sentAtCancel;
        })) << "the late reply arrives";
        EXPECT_EQ(SettledRequests(), sentAtCancel);

        // The next action is not cancelled and reads the camera afresh.
        Camera().SetFaults({});
        g_ComIF.m_Rs232c.m_Settings.HsTimeOut = kReplyTimeOutMs;
        PutSerial("5550007");
        ClearCounts();
        PressRefresh();
        records = CommRecords();
        EXPECT_TRUE(EndRecords(records).empty()) << EndRecords(records).front();
        EXPECT_EQ(Boxes(), boxesBefore);
        EXPECT_EQ(Info().GetDlgItemText(IDC_40INFO_SERIAL), "5550007");
        EXPECT_EQ(Info().GetDlgItemText(IDC_40INFO_VENDOR), "KORVALIS");
    }
}

} // namespace
