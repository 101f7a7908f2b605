// The menu bar from a menu resource, one-shot timers and message boxes shown through the hook.
#include "platform/ui/Menu.h"
#include "platform/ui/MessageBoxes.h"
#include "platform/ui/Resources.h"
#include "platform/ui/Timer.h"
#include "tests/platform/ui/GuiTest.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

using namespace ui;

TEST(Menu, BarIsBuiltFromTheResourceWithItsCommands)
{
    static const MenuTemplate menu{
        9201,
        {
            {"File(&F)", 0, {{"Exit(&X)", 57665}, {"", 0}, {"Other", 7}}},
            {"Comm(&C)", 32773},
        },
    };
    ResourceTable table;
    table.menus = {&menu};
    InstallResources(table);

    QMenuBar bar;
    std::vector<int> commands;
    EXPECT_FALSE(LoadMenu(&bar, 4711, [](int) {}));
    ASSERT_TRUE(LoadMenu(&bar, 9201, [&](int command) { commands.push_back(command); }));
    const QList<QAction*> top = bar.actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text(), "File(&F)");
    ASSERT_NE(top[0]->menu(), nullptr);
    const QList<QAction*> file = top[0]->menu()->actions();
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(file[0]->text(), "Exit(&X)");
    EXPECT_TRUE(file[1]->isSeparator());
    // A command on the bar itself has no pop-up.
    EXPECT_EQ(top[1]->text(), "Comm(&C)");
    EXPECT_EQ(top[1]->menu(), nullptr);

    file[0]->trigger();
    top[1]->trigger();
    EXPECT_EQ(commands, (std::vector<int>{57665, 32773}));
}

TEST(OneShotTimer, FiresOnceAndCanBeStopped)
{
    OneShotTimer timer;
    int fired = 0;
    QElapsedTimer clock;
    clock.start();
    timer.Start(50, [&] { ++fired; });
    EXPECT_TRUE(timer.IsActive());
    ASSERT_TRUE(gui_test::WaitFor([&] { return fired > 0; }));
    EXPECT_GE(clock.elapsed(), 45);
    QTest::qWait(120);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer.IsActive());

    timer.Start(30, [&] { fired += 10; });
    timer.Stop();
    QTest::qWait(80);
    EXPECT_EQ(fired, 1);
}

TEST(MessageBoxes, HookShowsAModalBoxOnTheUserInterfaceThread)
{
    MessageBoxHook previous = InstallMessageBoxHook();
    gui_test::WhenModal([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Communication Error");
        EXPECT_EQ(box->text(), "RS232C Timeout");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        box->accept();
    });
    ShowMessageBox("RS232C Timeout", "Communication Error", MsgIcon::Error);

    // From another thread the box is handed over; the caller does not wait for it.
    bool shown = false;
    std::thread worker([] { ShowMessageBox("From a worker", "Note", MsgIcon::Information); });
    worker.join();
    gui_test::WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "From a worker");
        shown = true;
        box->accept();
    });
    EXPECT_TRUE(gui_test::WaitFor([&] { return shown; }));
    SetMessageBoxHook(std::move(previous));
}
