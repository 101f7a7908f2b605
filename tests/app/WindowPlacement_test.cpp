// Where the main window and the log window stand, on the screens and scales the program meets.
// Two rectangles that do not overlap are apart along one axis, so whether a pair fits clear of
// each other is known from their sizes alone; the placement must find such a place when it exists.
#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

enum class Outcome { Beside, Shrunk, Over };

// Whether a main window and a log window of these frame sizes fit side by side or one above the
// other in the area.
bool PairFits(QSize area, QSize main, QSize log)
{
    const bool across = main.width() + kWindowGap + log.width() <= area.width() &&
                        std::max(main.height(), log.height()) <= area.height();
    const bool stacked = main.height() + kWindowGap + log.height() <= area.height() &&
                         std::max(main.width(), log.width()) <= area.width();
    return across || stacked;
}

// The program's windows in logical pixels at a scale, as they come out with the default font:
// the sizes do not change with it, the window manager's decorations (a title bar and a thin
// border, in device pixels) shrink.
WindowSizes AtScale(double scale)
{
    const auto margin = [scale](int device) { return static_cast<int>(device / scale + 0.999); };
    const QMargins frame(margin(1), margin(20), margin(1), margin(1));
    return {QSize(527, 381), frame, QSize(362, 229), QSize(242, 164), frame};
}

std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

} // namespace

TEST(WindowPlacement, BothWindowsInsideTheAreaTheMainWindowFirst)
{
    struct Row {
        const char* name;
        QRect available;
        WindowSizes sizes;
        Outcome outcome;
    };
    const WindowSizes scale1 = AtScale(1), scale15 = AtScale(1.5), scale2 = AtScale(2);
    const Row rows[] = {
        {"1600x1200 at 1", {0, 0, 1600, 1200}, scale1, Outcome::Beside},
        {"1600x1200 at 1.5", {0, 0, 1067, 800}, scale15, Outcome::Beside},
        {"1600x1200 at 2", {0, 0, 800, 600}, scale2, Outcome::Shrunk},
        {"1280x800 at 1", {0, 0, 1280, 800}, scale1, Outcome::Beside},
        {"1280x800 at 1.5", {0, 0, 853, 533}, scale15, Outcome::Shrunk},
        {"1280x800 at 2", {0, 0, 640, 400}, scale2, Outcome::Over},
        {"a panel on the left and the top", {64, 28, 1216, 772}, scale1, Outcome::Beside},
        {"second screen to the right", {1600, 0, 1280, 800}, scale1, Outcome::Beside},
        {"room for a smaller log window only", {0, 0, 860, 560}, scale1, Outcome::Shrunk},
        {"room below only once shrunk", {0, 0, 600, 600}, scale1, Outcome::Shrunk},
        {"tiny screen", {0, 0, 560, 440}, scale1, Outcome::Over},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WindowPlaces at = PlaceWindows(row.available, row.sizes);
        SCOPED_TRACE(testing::Message() << "main " << Text(at.main) << ", log " << Text(at.log));
        const QSize main = row.sizes.main.grownBy(row.sizes.mainFrame);
        const QSize log = row.sizes.log.grownBy(row.sizes.logFrame);
        const QSize minimum = row.sizes.logMinimum.grownBy(row.sizes.logFrame);
        EXPECT_EQ(at.main.size(), main);
        EXPECT_TRUE(row.available.contains(at.main));
        EXPECT_TRUE(row.available.contains(at.log));
        const QRect apart = at.main.adjusted(-kWindowGap, -kWindowGap, kWindowGap, kWindowGap);
        const bool clear = OverlapArea(apart, at.log) == 0;
        const QSize area = row.available.size();

        // The oracle first, then the row's own expectation, so that every branch is met.
        if (PairFits(area, main, log)) {
            EXPECT_EQ(row.outcome, Outcome::Beside);
            EXPECT_TRUE(clear);
            EXPECT_EQ(at.log.size(), log);
        } else if (PairFits(area, main, minimum)) {
            EXPECT_EQ(row.outcome, Outcome::Shrunk);
            EXPECT_TRUE(clear);
            EXPECT_TRUE(at.log.width() < log.width() || at.log.height() < log.height());
            EXPECT_GE(at.log.width(), minimum.width());
            EXPECT_GE(at.log.height(), minimum.height());
            // Only as much as the room asks: one side keeps its length.
            EXPECT_TRUE(at.log.width() == log.width() || at.log.height() == log.height());
        } else {
            EXPECT_EQ(row.outcome, Outcome::Over);
            EXPECT_EQ(at.log.size(), minimum.boundedTo(area));
            // In the far corner from the main window, which stands in the near one.
            EXPECT_EQ(at.main.topLeft(), row.available.topLeft());
            EXPECT_EQ(at.log.bottomRight(), row.available.bottomRight());
        }
    }
}

TEST(WindowPlacement, TheMainWindowMovesOnlyToMakeRoom)
{
    const WindowSizes sizes = AtScale(1);
    const QSize main = sizes.main.grownBy(sizes.mainFrame);
    const QSize log = sizes.log.grownBy(sizes.logFrame);
    struct Row {
        const char* name;
        QRect available;
        QPoint main; // its frame's top left corner
        const char* side;
    };
    const QPoint home = kMainWindowOffset;
    const int across = home.x() + main.width() + kWindowGap + log.width();
    const int stacked = home.y() + main.height() + kWindowGap + log.height();
    const Row rows[] = {
        {"room on the right", {0, 0, 1600, 1200}, home, "right"},
        {"just room on the right", {0, 0, across, 500}, home, "right"},
        {"a pixel short on the right, room below", {0, 0, across - 1, stacked}, home, "below"},
        {"room on the right once the main window moves left",
         {0, 0, across - 1, 500},
         {across - 1 - main.width() - kWindowGap - log.width(), home.y()},
         "right"},
        {"an area further down and right", {300, 200, 1200, 900}, home + QPoint(300, 200), "right"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WindowPlaces at = PlaceWindows(row.available, sizes);
        EXPECT_EQ(at.main.topLeft(), row.main);
        const std::string side = row.side;
        if (side == "right") {
            EXPECT_EQ(at.log.topLeft(), at.main.topRight() + QPoint(1 + kWindowGap, 0));
        } else {
            EXPECT_EQ(at.log.topLeft(), at.main.bottomLeft() + QPoint(0, 1 + kWindowGap));
        }
    }
}

TEST(WindowPlacement, AMainWindowLargerThanTheAreaShowsItsTopLeft)
{
    const WindowSizes sizes = AtScale(1);
    const QRect available(10, 20, 400, 300);
    const WindowPlaces at = PlaceWindows(available, sizes);
    // Its title bar and menu stay within reach; the log window stays in the area.
    EXPECT_EQ(at.main.topLeft(), available.topLeft());
    EXPECT_TRUE(available.contains(at.log));
}
