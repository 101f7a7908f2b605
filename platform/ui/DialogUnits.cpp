#include "platform/ui/DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>

#include <cstdint>
#include <cstdlib>

namespace ui {

int MulDiv(int a, int b, int c)
{
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = std::abs(static_cast<std::int64_t>(c)) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude =
        (std::abs(product) + half) / std::abs(static_cast<std::int64_t>(c));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

DialogUnits::DialogUnits(const QFont& font)
{
    // The average width is taken over the 52 letters and rounded to the nearest pixel.
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (width / 26 + 1) / 2;
    m_baseY = metrics.height();
}

QRect DialogUnits::ToPixels(const Rect& r) const
{
    return QRect(ToPixelsX(r.x), ToPixelsY(r.y), ToPixelsX(r.cx), ToPixelsY(r.cy));
}

QFont TemplateFont(const DialogTemplate& dialog)
{
    QFont font = QApplication::font();
    if (!dialog.fontFamily.empty())
        font.setFamilies({QString::fromStdString(dialog.fontFamily), font.family()});
    if (dialog.fontPointSize > 0)
        font.setPointSize(dialog.fontPointSize);
    return font;
}

} // namespace ui
