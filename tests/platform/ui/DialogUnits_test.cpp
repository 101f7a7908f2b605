// Dialog units to pixels.
#include "platform/ui/DialogUnits.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cstdlib>

using ui::DialogUnits;
using ui::MulDiv;

TEST(MulDiv, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(3, 7, 4), 5);   // 5.25
    EXPECT_EQ(MulDiv(1, 6, 4), 2);   // 1.5
    EXPECT_EQ(MulDiv(-1, 6, 4), -2); // -1.5
    EXPECT_EQ(MulDiv(3, 13, 8), 5);  // 4.875
    EXPECT_EQ(MulDiv(-40, 13, 8), -65);
    EXPECT_EQ(MulDiv(5, -13, 8), -8); // -8.125
    // No overflow on the way.
    EXPECT_EQ(MulDiv(1 << 30, 8, 16), 1 << 29);
}

TEST(DialogUnits, ConvertsPositionAndSizeEachOnItsOwn)
{
    const DialogUnits units(7, 13);
    const QRect r = units.ToPixels({267, -40, 207, 141});
    EXPECT_EQ(r.x(), 467);
    EXPECT_EQ(r.y(), -65);
    EXPECT_EQ(r.width(), 362);
    EXPECT_EQ(r.height(), 229);
    // The size does not depend on the position: 1.75 px rounds to 2 wherever it stands.
    EXPECT_EQ(units.ToPixels({1, 0, 1, 0}).width(), 2);
    EXPECT_EQ(units.ToPixels({2, 0, 1, 0}).width(), 2);
}

TEST(DialogUnits, BaseUnitsComeFromTheFontsAverageLetterAndHeight)
{
    for (int points : {8, 12, 20}) {
        QFont font;
        font.setPointSize(points);
        const DialogUnits units(font);
        const QFontMetrics metrics(font);
        const int letters =
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        // The average of the 52 letters, rounded to whole pixels.
        EXPECT_LE(std::abs(units.BaseX() * 52 - letters), 26) << points;
        EXPECT_EQ(units.BaseY(), metrics.height()) << points;
        // Four horizontal units are one average character, eight vertical units one line.
        EXPECT_EQ(units.ToPixelsX(4), units.BaseX());
        EXPECT_EQ(units.ToPixelsY(8), units.BaseY());
    }
    QFont small;
    small.setPointSize(8);
    QFont large;
    large.setPointSize(16);
    EXPECT_GT(DialogUnits(large).BaseX(), DialogUnits(small).BaseX());
}
