// The window during a user action on a camera at the end of a pseudo-terminal: it takes its
// events while an exchange waits, holds off other input, shows its progress with "Cancel",
// and a cancel ends the wait and the rest of the action.
#include "app/ActionUi.h"
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "platform/ui/UserAction.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/PtyCamera.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

constexpr const char* kLabel = "Reading Info from the camera...";

int Sends(const std::vector<std::string>& records)
{
    return static_cast<int>(std::count_if(records.begin(), records.end(),
                                          [](const auto& r) { return r.rfind("SEND: ", 0) == 0; }));
}

class ActionUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string failure;
        ASSERT_TRUE(pty.Attach(g_ComIF, 2000, failure)) << failure;
        ASSERT_EQ(g_ComIF.Open(), 1);
        window.resize(200, 100);
        other = new QPushButton(QStringLiteral("Other"), &window);
        QObject::connect(other, &QPushButton::clicked, [this] { ++otherActions; });
        window.show();
        actionUi = new CActionUi(&window);
    }

    void TearDown() override { g_ComIF.Close(); }

    // An action of n reads through the window's runner; their result codes.
    std::vector<int> RunReads(int n)
    {
        std::vector<int> results;
        ui::RunUserAction(kLabel, [&] {
            for (int i = 0; i < n; ++i) {
                std::uint8_t value = 0;
                results.push_back(reg.ReadRegister(0x20 + i, value).Code());
            }
        });
        return results;
    }

    LogRecorder log;
    MessageBoxRecorder boxes;
    PtyCamera pty;
    camsim::Camera& camera = pty.camera;
    CRVXReg reg{&g_ComIF};
    QWidget window;
    QPushButton* other = nullptr;
    int otherActions = 0;
    CActionUi* actionUi = nullptr; // owned by the window
};

struct WaitCase {
    const char* name;
    camsim::Fault fault;
    int delayMs;
    int timeoutMs;
    int result; // of every read
    int sends;
    int boxes;
};

TEST_F(ActionUiTest, TheWindowTakesItsEventsWhileAnExchangeWaitsAndNoOtherInput)
{
    const WaitCase cases[] = {
        {"slow camera", camsim::Fault::None, 150, 2000, 0, 3, 0},
        {"silent camera", camsim::Fault::Silent, 0, 150, LINK_TIMEOUT, 1, 1},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(c.name);
        camera.SetFaults({c.fault, false, c.delayMs, 0});
        g_ComIF.m_Rs232c.m_Settings.HsTimeOut = c.timeoutMs;
        log.Clear();
        const std::size_t boxesBefore = boxes.Boxes().size();
        int ticks = 0;
        bool busyCursor = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            ++ticks;
            busyCursor = busyCursor || QApplication::overrideCursor() != nullptr;
            // A click on the main window meanwhile starts nothing, now or later.
            QTest::mouseClick(other, Qt::LeftButton);
        });
        timer.start(10);
        const std::vector<int> results = RunReads(3);
        timer.stop();
        QApplication::processEvents();

        EXPECT_EQ(results, std::vector<int>(3, c.result));
        EXPECT_GT(ticks, 0) << "the event loop ran during the wait";
        EXPECT_TRUE(busyCursor);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(otherActions, 0);
        EXPECT_EQ(Sends(log.Comm()), c.sends);
        EXPECT_EQ(static_cast<int>(boxes.Boxes().size() - boxesBefore), c.boxes);
    }
    // Outside an action the window takes its input again.
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_EQ(otherActions, 1);
}

TEST_F(ActionUiTest, CancelInTheProgressWindowEndsTheWaitAndTheRestOfTheAction)
{
    // A first run tells how many exchanges the action has.
    EXPECT_EQ(RunReads(5), std::vector<int>(5, 0));
    EXPECT_EQ(actionUi->ProgressWindow(), nullptr) << "a quick action shows no progress";

    camera.SetFaults({camsim::Fault::None, false, 1500, 0});
    g_ComIF.m_Rs232c.m_Settings.HsTimeOut = 5000;
    log.Clear();
    std::string shown;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QDialog* progress = actionUi->ProgressWindow();
        if (!progress || !shown.empty())
            return;
        shown = progress->findChild<QLabel*>()->text().toStdString();
        progress->findChild<QPushButton*>()->click();
    });
    timer.start(20);
    const std::vector<int> results = RunReads(5);
    timer.stop();

    EXPECT_EQ(shown, std::string(kLabel) + " 1 of 5");
    EXPECT_EQ(results, std::vector<int>(5, LINK_CANCELLED));
    const auto comm = log.Comm();
    EXPECT_EQ(Sends(comm), 1) << "nothing more is sent after a cancel";
    ASSERT_FALSE(comm.empty());
    EXPECT_EQ(comm.back(), "STAT: Cancelled by the user: 4 exchanges skipped\r");
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(actionUi->ProgressWindow(), nullptr);

    // The next action is not cancelled.
    camera.SetFaults({});
    EXPECT_EQ(RunReads(2), std::vector<int>(2, 0));
}

// The progress window stands while the camera is talked to, never behind a question the action
// asks between two exchanges; the next slow exchange brings it back.
TEST_F(ActionUiTest, TheProgressWindowGoesWhileTheActionAsksTheUser)
{
    camera.SetFaults({camsim::Fault::None, false, 800, 0});
    g_ComIF.m_Rs232c.m_Settings.HsTimeOut = 5000;
    bool beforeQuestion = false, duringQuestion = true, afterQuestion = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QDialog* progress = actionUi->ProgressWindow())
            afterQuestion = afterQuestion || progress->isVisible();
    });
    ui::RunUserAction(kLabel, [&] {
        std::uint8_t value = 0;
        EXPECT_EQ(reg.ReadRegister(0x20, value).Code(), 0);
        QDialog* progress = actionUi->ProgressWindow();
        beforeQuestion = progress && progress->isVisible();
        QDialog question(&window);
        question.show();
        QApplication::processEvents();
        duringQuestion = progress && progress->isVisible();
        question.hide();
        watch.start(20);
        EXPECT_EQ(reg.ReadRegister(0x21, value).Code(), 0);
        watch.stop();
    });
    EXPECT_TRUE(beforeQuestion);
    EXPECT_FALSE(duringQuestion);
    EXPECT_TRUE(afterQuestion);
    camera.SetFaults({});
}

} // namespace
