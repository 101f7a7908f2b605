// The whole program on the simulated frame grabber: start-up in order, where the settings are
// stored, the main window, the register update through the RV1240DLX map, and the order in which
// the windows go when the program is closed.
#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"
#include "comm/ComIF.h"
#include "app/CommSetDlg.h"
#include "platform/profile/Profile.h"
#include "platform/ui/DialogUnits.h"
#include "res/Resource.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

CLogDlg* LogWindow()
{
    return dynamic_cast<CLogDlg*>(g_pLogDlg.load());
}

QAction* MenuItem(QMenuBar* bar, const QString& menu, const QString& item)
{
    for (QAction* top : bar->actions()) {
        if (top->text() != menu)
            continue;
        if (item.isEmpty())
            return top;
        for (QAction* action : top->menu()->actions())
            if (action->text() == item)
                return action;
    }
    return nullptr;
}

} // namespace

TEST(Startup, RunsInOrderStoresUnderTheProgramsKeyAndClosesInOrder)
{
    testing_support::ScopedSettingsDir settings;
    setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);

    bool dialogSeen = false;
    QElapsedTimer clock;
    clock.start();
    gui_test::WhenModal([&](QWidget* modal) {
        auto* dialog = dynamic_cast<CCommSetDlg*>(modal);
        ASSERT_NE(dialog, nullptr) << "the setup dialog ends the start-up";
        dialogSeen = true;
        // The main window is up and the log window exists.
        ASSERT_NE(theApp.m_pMainWnd, nullptr);
        EXPECT_TRUE(theApp.m_pMainWnd->isVisible());
        CLogDlg* log = LogWindow();
        ASSERT_NE(log, nullptr);
        EXPECT_TRUE(log->isVisible());
        // No port is opened before the settings are loaded (there are none to open it by).
        EXPECT_EQ(log->m_tabComm.Text().find("Port open"), std::string::npos)
            << log->m_tabComm.Text();
        // The splash came with the frame; it takes the first key, so let it go first.
        if (clock.elapsed() < CSplashWnd::kShowMilliseconds - 100) {
            EXPECT_NE(CSplashWnd::Current(), nullptr);
        }
        EXPECT_TRUE(gui_test::WaitFor([] { return CSplashWnd::Current() == nullptr; }));
        // The settings were loaded afterwards: the registry defaults.
        EXPECT_EQ(dialog->GetComboBox(IDC_COMBO_COMPORT)
                      .GetLBText(dialog->GetComboBox(IDC_COMBO_COMPORT).GetCurSel()),
                  "COM3");
        EXPECT_EQ(dialog->GetComboBox(IDC_COMBO_SPEED).GetCurSel(), 1);
        EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_TIMEOUT), "3000");
        EXPECT_EQ(dialog->IsDlgButtonChecked(IDC_RADIO_CAS), 1);
        // The user picks the grabber's first port.
        QTest::keyClick(dialog->GetComboBox(IDC_COMBO_CAS_PORT).Widget(), Qt::Key_Down);
        QTest::mouseClick(dialog->GetDlgItem(ui::IDOK), Qt::LeftButton);
    });
    ASSERT_TRUE(theApp.InitInstance({"VireoStudio"}));
    ASSERT_TRUE(dialogSeen);

    // The store lies under the program's key.
    EXPECT_EQ(profile::RegistryOrganisation(), "KORVALIS CORPORATION");
    EXPECT_EQ(profile::RegistryApplication(), "VireoStudio");
    EXPECT_EQ(profile::StoreFileName(), settings.Path() + "/KORVALIS CORPORATION/VireoStudio.conf");
    QSettings stored(QString::fromStdString(profile::StoreFileName()), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Settings/COMM Port/Port type").toInt(), 1);
    EXPECT_EQ(stored.value("Settings/COMM Port/Port Name").toString(), "COM3");
    EXPECT_EQ(stored.value("Settings/COMM Port/LastCasPortID").toString(), "clsim0 RV1240DLX");
    EXPECT_TRUE(g_ComIF.m_Cas.IsOpen());

    // Three register maps for four models, each also seen through the common class.
    ASSERT_NE(theApp.m_pReg1240, nullptr);
    ASSERT_NE(theApp.m_pReg1250, nullptr);
    ASSERT_NE(theApp.m_pRegQM52, nullptr);
    EXPECT_EQ(theApp.m_pBaseReg1240, static_cast<CRVXReg*>(theApp.m_pReg1240));
    EXPECT_EQ(theApp.m_pBaseReg1250, static_cast<CRVXReg*>(theApp.m_pReg1250));
    EXPECT_EQ(theApp.m_pBaseRegQM52, static_cast<CRVXReg*>(theApp.m_pRegQM52));
    EXPECT_NE(theApp.m_pBaseReg1240, theApp.m_pBaseReg1250);
    EXPECT_NE(theApp.m_pBaseReg1250, theApp.m_pBaseRegQM52);

    // The main window: plain title, the menu, the status bar, no other bar with no model chosen,
    // the form's size and no other.
    CMainFrame* frame = theApp.m_pMainWnd;
    CVireoView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(frame->windowTitle(), "VireoStudio");
    QStatusBar* status = frame->findChild<QStatusBar*>();
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isVisible());
    for (const QToolBar* strip : frame->findChildren<QToolBar*>())
        EXPECT_FALSE(strip->isVisible());
    QMenuBar* bar = frame->menuBar();
    ASSERT_NE(MenuItem(bar, "File(&F)", "Exit(&X)"), nullptr);
    ASSERT_NE(MenuItem(bar, "Comm(&C)", "COMM &Setup..."), nullptr);
    EXPECT_EQ(MenuItem(bar, "Comm(&C)", "COMM &Setup...")->data().toInt(), ID_COMM_SETUP);
    ASSERT_NE(MenuItem(bar, "Comm(&C)", "&Identify Camera"), nullptr);
    ASSERT_NE(MenuItem(bar, "Help(&H)", "VireoStudio Ver. (&A)"), nullptr);

    // The form's size, wider only where a model's tab captions need it.
    const QSize form = view->Units().ToPixels({0, 0, 267, 223}).size();
    EXPECT_EQ(view->height(), form.height());
    EXPECT_GE(view->width(), form.width());
    for (int tab : CVireoView::kModelTabs)
        EXPECT_LE(view->GetTabCtrl(tab).Widget()->Bar()->sizeHint().width(),
                  view->GetTabCtrl(tab).Widget()->width());
    // Where the screen has room it opens at the form's size; the user may make it smaller,
    // the form then scrolls, but no larger.
    EXPECT_EQ(frame->size(), frame->maximumSize());
    EXPECT_EQ(frame->width(), view->width());
    EXPECT_EQ(view->mapTo(frame, QPoint(0, 0)).y() + form.height() + status->height(),
              frame->height());
    const QSize full = frame->size();
    frame->resize(full + QSize(120, 80));
    EXPECT_EQ(frame->size(), full);
    frame->resize(full - QSize(120, 80));
    EXPECT_EQ(frame->size(), full - QSize(120, 80));
    frame->FitToView();
    EXPECT_EQ(frame->size(), full);

    // The model list: four names, the camera's chosen as none was.
    ui::ComboBox models = view->GetComboBox(IDC_COMBO_MODEL);
    ASSERT_EQ(models.GetCount(), 4);
    EXPECT_EQ(models.GetLBText(0), "RV1240DLX");
    EXPECT_EQ(models.GetLBText(3), "RVQM52CM14");
    EXPECT_EQ(models.GetCurSel(), 0);

    // Both windows stand within the screen's available area (where WindowPlacement_test checks
    // the rule itself).
    CLogDlg* log = LogWindow();
    ASSERT_NE(log, nullptr);
    const QRect screen = frame->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(log->frameGeometry()));
    EXPECT_TRUE(screen.contains(frame->frameGeometry()));
    EXPECT_EQ(log->parentWidget(), view);

    // "Update" writes the register-update register through the RV1240DLX map, whatever model is
    // chosen; both logs show it.
    models.SetCurSel(3);
    const std::size_t commBefore = log->m_tabComm.Text().size();
    QTest::mouseClick(view->GetDlgItem(IDC_BUTTON_UPDATE), Qt::LeftButton);
    const std::string comm = log->m_tabComm.Text().substr(commBefore);
    EXPECT_NE(comm.find("SEND: [STX]6E01[ETX]\r\n"), std::string::npos) << comm;
    EXPECT_NE(comm.find("RCV : [STX][ACK][ETX]\r\n"), std::string::npos) << comm;
    const std::string seq = log->m_tabSeq.Text();
    EXPECT_NE(seq.find("\tRegister Update Execute Done."), std::string::npos) << seq;

    // The splash takes the first key before any window does, the log window's own key filter
    // included.
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(frame);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    QTest::keyClick(log->m_tabComm.GetDlgItem(IDC_EDIT_COMM_LOG), Qt::Key_Return);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);

    // Closing: the ports stop logging before the log window goes, and the window goes with the
    // view.
    bool logWindowGone = false;
    QObject::connect(log, &QObject::destroyed, [&] {
        logWindowGone = true;
        EXPECT_FALSE(g_ComIF.m_Cas.WindowLoggingFlag());
        EXPECT_FALSE(g_ComIF.m_Rs232c.WindowLoggingFlag());
        EXPECT_EQ(g_pLogDlg.load(), nullptr);
    });
    QPointer<CMainFrame> closing = frame;
    MenuItem(bar, "File(&F)", "Exit(&X)")->trigger();
    EXPECT_TRUE(gui_test::WaitFor([&] { return closing.isNull(); }));
    EXPECT_TRUE(logWindowGone);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(g_pLogDlg.load(), nullptr);

    // Port records made after the close reach no window.
    testing_support::LogRecorder recorder;
    g_ComIF.m_Cas.AddLogRecord("late", LOG_STATUS);
    EXPECT_TRUE(recorder.Comm().empty());
    theApp.ExitInstance(0);
}
