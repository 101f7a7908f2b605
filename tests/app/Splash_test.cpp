// The splash: when it is shown, where, and how the first key or mouse press takes it away.
#include "app/SplashWnd.h"
#include "app/VireoApp.h"
#include "platform/ui/Resources.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/platform/ui/GuiTest.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Hands every event to the application object first, as the running program does.
class AppFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return theApp.PreTranslateMessage(watched, event);
    }
};

class SplashTest : public testing::Test {
protected:
    void SetUp() override
    {
        res::Install();
        qApp->installEventFilter(&filter);
        owner.resize(300, 200);
        edit = new QLineEdit(&owner);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
        edit->setFocus();
    }
    void TearDown() override
    {
        delete CSplashWnd::Current();
        CSplashWnd::EnableSplashScreen(false);
    }

    AppFilter filter;
    QWidget owner;
    QLineEdit* edit = nullptr;
};

} // namespace

TEST(SplashSwitches, EmbeddingAndAutomationStartWithoutSplash)
{
    for (const char* argument : {"/Embedding", "-Embedding", "/automation", "-AUTOMATION"})
        EXPECT_FALSE(CVireoApp::ShowSplashFor({"VireoStudio", argument})) << argument;
    for (const char* argument : {"Embedding", "/Embed", "--Embedding", "-x", "file.txt"})
        EXPECT_TRUE(CVireoApp::ShowSplashFor({"VireoStudio", argument})) << argument;
    EXPECT_TRUE(CVireoApp::ShowSplashFor({"VireoStudio"}));
    // The program's own name is no switch.
    EXPECT_TRUE(CVireoApp::ShowSplashFor({"-Embedding"}));
}

TEST_F(SplashTest, DisabledSplashIsNeverShown)
{
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen(&owner);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    QTest::keyClicks(edit, "a");
    EXPECT_EQ(edit->text(), "a");
}

TEST_F(SplashTest, SplashShowsTheBitmapCentredOnTheScreenOnlyOnce)
{
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&owner);
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    CSplashWnd::ShowSplashScreen(&owner);
    EXPECT_EQ(CSplashWnd::Current(), splash) << "one splash at a time";

    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->isWindow());
    EXPECT_EQ(splash->parentWidget(), &owner);
    EXPECT_EQ(splash->size(), ui::LoadBitmap(IDB_SPLASH).size());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((splash->geometry().center() - screen.center()).manhattanLength(), 2);
    // What is shown is the bitmap itself.
    EXPECT_EQ(
        splash->grab().toImage(),
        ui::LoadBitmap(IDB_SPLASH).toImage().convertToFormat(splash->grab().toImage().format()));
}

TEST_F(SplashTest, FirstKeyPressHidesTheSplashAndIsTakenByIt)
{
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&owner);
    QPointer<CSplashWnd> splash = CSplashWnd::Current();
    ASSERT_TRUE(splash);
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(edit->text(), "") << "the key did nothing else";
    EXPECT_TRUE(gui_test::WaitFor([&] { return splash.isNull(); })) << "the window is gone";
    QTest::keyClick(edit, Qt::Key_B);
    EXPECT_EQ(edit->text(), "b");
}

TEST_F(SplashTest, MousePressAnywhereHidesTheSplashAndIsTakenByIt)
{
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&owner);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    int clicks = 0;
    QPushButton button("x", &owner);
    button.show();
    QObject::connect(&button, &QPushButton::pressed, [&] { ++clicks; });
    QTest::mousePress(&button, Qt::RightButton);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    QTest::mouseRelease(&button, Qt::RightButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1) << "only the press after the splash reaches the button";
}

TEST_F(SplashTest, SplashGoesByItselfAfter800Milliseconds)
{
    CSplashWnd::EnableSplashScreen(true);
    QElapsedTimer clock;
    clock.start();
    CSplashWnd::ShowSplashScreen(&owner);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    ASSERT_TRUE(gui_test::WaitFor([] { return CSplashWnd::Current() == nullptr; }, 5000));
    EXPECT_GE(clock.elapsed(), CSplashWnd::kShowMilliseconds - 20);
}
