// A start for embedding: no splash; cancelling the setup dialog keeps the port as the first
// update opened it and stores nothing.
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoApp.h"
#include "comm/ComIF.h"
#include "app/CommSetDlg.h"
#include "platform/profile/Profile.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(StartupEmbedding, ShowsNoSplashAndACancelledSetupChangesNothing)
{
    testing_support::ScopedSettingsDir settings;
    setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);

    bool dialogSeen = false;
    gui_test::WhenModal([&](QWidget* modal) {
        ASSERT_NE(dynamic_cast<CCommSetDlg*>(modal), nullptr);
        dialogSeen = true;
        EXPECT_EQ(CSplashWnd::Current(), nullptr);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    ASSERT_TRUE(theApp.InitInstance({"VireoStudio", "-Embedding"}));
    ASSERT_TRUE(dialogSeen);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);

    // The port stays as the first update left it: nothing open, the RS-232C port kind of the
    // facade's construction, and nothing stored.
    EXPECT_FALSE(g_ComIF.IsOpen());
    EXPECT_EQ(g_ComIF.PortType, 1) << "loaded by Initialize";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(profile::StoreFileName())));

    QPointer<CMainFrame> frame = theApp.m_pMainWnd;
    frame->close();
    EXPECT_TRUE(gui_test::WaitFor([&] { return frame.isNull(); }));
    theApp.ExitInstance(0);
}
