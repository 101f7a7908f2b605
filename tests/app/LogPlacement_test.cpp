// Where the log window goes: within the screen's available area always; beside the main window
// when there is room; otherwise where it covers the least of it (checked against every place).
#include "app/LogPlacement.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// The smallest overlap of any place of the log window inside the area, tried one by one.
long long SmallestOverlap(const QRect& main, const QSize& log, const QRect& available)
{
    long long smallest = LLONG_MAX;
    for (int x = available.left(); x + log.width() <= available.right() + 1; ++x)
        for (int y = available.top(); y + log.height() <= available.bottom() + 1; y += 7)
            smallest = std::min(smallest, OverlapArea(QRect(QPoint(x, y), log), main));
    // The overlap is flat in y between edges: the last row and the edges' rows settle the rest.
    for (int x = available.left(); x + log.width() <= available.right() + 1; ++x)
        for (int y :
             {available.bottom() + 1 - log.height(), main.top() - log.height(), main.bottom() + 1})
            if (y >= available.top() && y + log.height() <= available.bottom() + 1)
                smallest = std::min(smallest, OverlapArea(QRect(QPoint(x, y), log), main));
    return smallest;
}

} // namespace

TEST(LogPlacement, InsideTheAreaBesideTheMainWindowOrCoveringItLeast)
{
    struct Row {
        const char* name;
        QRect available;
        QRect main;
        QSize log;
        const char* side; // "right", "left", "below" or nullptr when it cannot stand clear
    };
    const Row rows[] = {
        {"room on the right", {0, 0, 1920, 1080}, {32, 32, 600, 500}, {420, 300}, "right"},
        {"main window at the right edge",
         {0, 0, 1920, 1080},
         {1300, 32, 600, 500},
         {420, 300},
         "left"},
        {"narrow screen, room below", {0, 0, 800, 1200}, {32, 32, 700, 500}, {420, 300}, "below"},
        {"scale 2 on 1600x1200: no room anywhere",
         {0, 0, 800, 600},
         {32, 32, 700, 520},
         {420, 300},
         nullptr},
        {"a panel on the left and the top",
         {64, 28, 1216, 772},
         {96, 60, 780, 560},
         {420, 300},
         nullptr},
        {"second screen to the right",
         {1920, 0, 1280, 1024},
         {1952, 32, 600, 500},
         {420, 300},
         "right"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QPoint at = PlaceLogWindow(row.main, row.log, row.available);
        const QRect placed(at, row.log);
        EXPECT_TRUE(row.available.contains(placed))
            << placed.x() << "," << placed.y() << " " << placed.width() << "x" << placed.height();
        EXPECT_EQ(OverlapArea(placed, row.main), SmallestOverlap(row.main, row.log, row.available));
        if (!row.side) {
            EXPECT_GT(OverlapArea(placed, row.main), 0);
            continue;
        }
        EXPECT_EQ(OverlapArea(placed, row.main), 0);
        const std::string side = row.side;
        if (side == "right") {
            EXPECT_GT(placed.left(), row.main.right());
        }
        if (side == "left") {
            EXPECT_LT(placed.right(), row.main.left());
        }
        if (side == "below") {
            EXPECT_GT(placed.top(), row.main.bottom());
        }
        if (side != "below") {
            EXPECT_EQ(placed.top(), row.main.top()) << "level with the main window";
        }
    }
}
