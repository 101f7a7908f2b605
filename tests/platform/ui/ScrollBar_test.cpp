// Scroll bars report what the user did and move only when the program says so.
#include "platform/ui/ScrollBar.h"
#include "tests/platform/ui/GuiTest.h"

#include <QApplication>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace ui;

namespace {

class ScrollBarTest : public testing::Test {
protected:
    void SetUp() override
    {
        bar.resize(300, 18);
        bar.SetScrollRange(0, 255);
        bar.SetScrollPos(100);
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    }

    // Records the notifications; with follow set, answers them as a setting page does.
    void Listen(bool follow)
    {
        bar.SetNotify([this, follow](int code, int pos) {
            reports.emplace_back(code, pos);
            if (!follow)
                return;
            int value = bar.GetScrollPos();
            switch (code) {
            case SB_LINELEFT:
                value -= 1;
                break;
            case SB_LINERIGHT:
                value += 1;
                break;
            case SB_PAGELEFT:
                value -= 10;
                break;
            case SB_PAGERIGHT:
                value += 10;
                break;
            case SB_THUMBPOSITION:
                value = pos;
                break;
            default:
                break;
            }
            int low = 0;
            int high = 0;
            bar.GetScrollRange(&low, &high);
            bar.SetScrollPos(std::clamp(value, low, high));
        });
    }

    QRect Part(QStyle::SubControl part)
    {
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = Qt::Horizontal;
        option.minimum = bar.minimum();
        option.maximum = bar.maximum();
        option.sliderPosition = bar.sliderPosition();
        option.sliderValue = bar.value();
        option.singleStep = bar.singleStep();
        option.pageStep = bar.pageStep();
        option.upsideDown = false;
        option.subControls = QStyle::SC_All;
        return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
    }

    bool Reported(int code) const
    {
        return std::any_of(reports.begin(), reports.end(),
                           [code](const auto& r) { return r.first == code; });
    }

    ScrollBarWidget bar;
    std::vector<std::pair<int, int>> reports;
};

} // namespace

TEST_F(ScrollBarTest, ArrowClicksAreReportedAndTheBarWaitsForTheProgram)
{
    Listen(false);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, Part(QStyle::SC_ScrollBarAddLine).center());
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front().first, SB_LINERIGHT);
    EXPECT_EQ(reports.back().first, SB_ENDSCROLL) << "the release ends the scroll";
    EXPECT_EQ(bar.GetScrollPos(), 100) << "nobody set the position";
    EXPECT_EQ(bar.sliderPosition(), 100);

    reports.clear();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, Part(QStyle::SC_ScrollBarSubLine).center());
    EXPECT_EQ(reports.front().first, SB_LINELEFT);
    EXPECT_EQ(bar.GetScrollPos(), 100);
}

TEST_F(ScrollBarTest, AnsweredStepsMoveAndStopAtTheEnds)
{
    Listen(true);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, Part(QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(bar.GetScrollPos(), 101);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, Part(QStyle::SC_ScrollBarAddPage).center());
    EXPECT_TRUE(Reported(SB_PAGERIGHT));
    EXPECT_EQ(bar.GetScrollPos(), 111);

    bar.SetScrollPos(255);
    reports.clear();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, Part(QStyle::SC_ScrollBarAddLine).center());
    EXPECT_TRUE(Reported(SB_LINERIGHT));
    EXPECT_EQ(bar.GetScrollPos(), 255);

    // Keys step too.
    bar.setFocus();
    QTest::keyClick(&bar, Qt::Key_Left);
    EXPECT_EQ(bar.GetScrollPos(), 254);
    // Home and End are told as the thumb dropped at that end.
    struct EndKey {
        Qt::Key key;
        int position;
    };
    for (const EndKey& end : {EndKey{Qt::Key_Home, 0}, EndKey{Qt::Key_End, 255}}) {
        reports.clear();
        QTest::keyClick(&bar, end.key);
        EXPECT_TRUE(Reported(SB_THUMBPOSITION)) << end.key;
        EXPECT_EQ(bar.GetScrollPos(), end.position) << end.key;
    }
}

TEST_F(ScrollBarTest, DraggingTheThumbChangesNothingUntilItIsReleased)
{
    Listen(true);
    const QPoint grip = Part(QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&bar, grip + QPoint(40, 0));
    QTest::mouseMove(&bar, grip + QPoint(60, 0));
    ASSERT_TRUE(Reported(SB_THUMBTRACK));
    EXPECT_EQ(bar.GetScrollPos(), 100) << "tracking moves nothing";
    const int tracked = reports.back().second;
    EXPECT_GT(tracked, 100);

    QTest::mouseRelease(&bar, Qt::LeftButton, {}, grip + QPoint(60, 0));
    const auto released = std::find_if(reports.begin(), reports.end(),
                                       [](const auto& r) { return r.first == SB_THUMBPOSITION; });
    ASSERT_NE(released, reports.end());
    EXPECT_EQ(released->second, tracked) << "the released thumb's position is reported";
    EXPECT_EQ(bar.GetScrollPos(), tracked);
    EXPECT_EQ(reports.back().first, SB_ENDSCROLL);
}

TEST_F(ScrollBarTest, AnUnansweredThumbGoesBack)
{
    Listen(false);
    const QPoint grip = Part(QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&bar, grip + QPoint(50, 0));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, grip + QPoint(50, 0));
    EXPECT_TRUE(Reported(SB_THUMBPOSITION));
    EXPECT_EQ(bar.GetScrollPos(), 100);
    EXPECT_EQ(bar.sliderPosition(), 100);
}

TEST_F(ScrollBarTest, RangeAndPositionAreTheProgramsAndTheWheelIsNotTheBars)
{
    Listen(true);
    EXPECT_EQ(bar.SetScrollPos(300), 100);
    EXPECT_EQ(bar.GetScrollPos(), 255) << "clamped to the range";
    bar.SetScrollRange(-512, 511);
    int low = 0;
    int high = 0;
    bar.GetScrollRange(&low, &high);
    EXPECT_EQ(low, -512);
    EXPECT_EQ(high, 511);
    bar.SetScrollPos(-600);
    EXPECT_EQ(bar.GetScrollPos(), -512);

    reports.clear();
    QWheelEvent wheel(QPointF(10, 5), bar.mapToGlobal(QPointF(10, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&bar, &wheel);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(bar.GetScrollPos(), -512);
}
