// The whole program on the simulated frame grabber, driven as a user does: choose RV1240DLX, open
// "UserGain", move the gain bar, Apply, and see the write in the log and the value read back.
#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "platform/ui/ScrollBar.h"
#include "res/Resource.h"
#include "res/ids/Rv1240.h"
#include "tests/app/GrabberStartup.h"
#include "tests/support/TestEnvironment.h"

#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

TEST(PagesOnGrabber, UserGainReadsWritesAndReadsBackThroughTheGrabber)
{
    testing_support::ScopedSettingsDir settings;
    setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);
    CVireoView* view = testing_support::StartOnGrabberPort(0);
    CLogDlg* log = testing_support::LogWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(log, nullptr);

    testing_support::ChooseModel(*view, "RV1240DLX");
    ui::TabCtrl tabs = view->GetTabCtrl(IDC_TAB_RV1240);
    ASSERT_TRUE(tabs.IsWindowVisible());
    EXPECT_EQ(tabs.Widget()->GetItemText(tabs.GetCurSel()), "Register");

    tabs.Widget()->Bar()->setCurrentIndex(2);
    CCmd40UsrGain& page = view->m_cmd40UsrGain;
    ASSERT_TRUE(page.isVisible());
    const int before = page.BarValue(IDC_40GAIN_GAIN_BAR);
    const int after = before == 255 ? 254 : before + 1;
    ui::ScrollBar bar = page.GetScrollBar(IDC_40GAIN_GAIN_BAR);
    QTest::mouseClick(bar.Widget(), Qt::LeftButton, {},
                      before == 255
                          ? QPoint(4, bar.Widget()->height() / 2)
                          : QPoint(bar.Widget()->width() - 4, bar.Widget()->height() / 2));
    ASSERT_EQ(page.BarValue(IDC_40GAIN_GAIN_BAR), after) << "an arrow click steps by one";

    const std::size_t commBefore = log->m_tabComm.Text().size();
    QTest::mouseClick(page.GetDlgItem(IDC_40GAIN_APPLY), Qt::LeftButton);
    char frame[40];
    std::snprintf(frame, sizeof frame, "SEND: [STX]64%02X[ETX]\r\n", after);
    EXPECT_NE(log->m_tabComm.Text().find(frame, commBefore), std::string::npos)
        << log->m_tabComm.Text().substr(commBefore);

    // Another value chosen, then Refresh: the camera's value comes back.
    page.GetScrollBar(IDC_40GAIN_GAIN_BAR).Widget()->Simulate(ui::SB_THUMBPOSITION, 7);
    QTest::mouseClick(page.GetDlgItem(IDC_40GAIN_REFRESH), Qt::LeftButton);
    EXPECT_EQ(page.BarValue(IDC_40GAIN_GAIN_BAR), after);
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", after);
    EXPECT_EQ(page.GetDlgItemText(IDC_40GAIN_GAIN_HEX), hex);
    EXPECT_NE(log->m_tabSeq.Text().find("\tSet OutLevelGain "), std::string::npos);

    // The program closes with its pages in place.
    testing_support::CloseProgram();
}
