#include "tests/app/GrabberStartup.h"

#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "comm/ComIF.h"
#include "app/CommSetDlg.h"
#include "platform/profile/Profile.h"
#include "res/Resource.h"
#include "tests/platform/ui/GuiTest.h"

#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace testing_support {

CVireoView* StartOnGrabberPort(int port)
{
    gui_test::WhenModal([port](QWidget* modal) {
        auto* dialog = dynamic_cast<CCommSetDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(gui_test::WaitFor([] { return CSplashWnd::Current() == nullptr; }));
        for (int i = 0; i <= port; ++i)
            QTest::keyClick(dialog->GetComboBox(IDC_COMBO_CAS_PORT).Widget(), Qt::Key_Down);
        QTest::mouseClick(dialog->GetDlgItem(ui::IDOK), Qt::LeftButton);
    });
    if (!theApp.InitInstance({"VireoStudio"}) || !theApp.m_pMainWnd)
        return nullptr;
    return theApp.m_pMainWnd->GetActiveView();
}

CVireoView* StartOnSerialPort(const std::string& path, int timeoutMs)
{
    profile::SetRegistryKey("KORVALIS CORPORATION", "VireoStudio");
    profile::WriteProfileInt(kCommSection, "Port type", PORT_RS232C);
    profile::WriteProfileString(kCommSection, "Port Name", path);
    profile::WriteProfileInt(kCommSection, "BaudRate", 9600);
    profile::WriteProfileInt(kCommSection, "HsTimeOut", timeoutMs);
    // A stored port opens without COMM Setup.
    if (!theApp.InitInstance({"VireoStudio"}) || !theApp.m_pMainWnd)
        return nullptr;
    // The splash takes the first click; the tests' clicks are for the window.
    EXPECT_TRUE(gui_test::WaitFor([] { return CSplashWnd::Current() == nullptr; }));
    return theApp.m_pMainWnd->GetActiveView();
}

CLogDlg* LogWindow()
{
    return dynamic_cast<CLogDlg*>(g_pLogDlg.load());
}

void ChooseModel(CVireoView& view, const char* model)
{
    ui::ComboBox models = view.GetComboBox(IDC_COMBO_MODEL);
    models.Widget()->setCurrentIndex(models.FindStringExact(-1, model));
    emit models.Widget()->activated(models.GetCurSel());
}

void CloseProgram()
{
    QPointer<CMainFrame> closing = theApp.m_pMainWnd;
    if (closing)
        closing->close();
    EXPECT_TRUE(gui_test::WaitFor([&] { return closing.isNull(); }));
    theApp.ExitInstance(0);
}

} // namespace testing_support
