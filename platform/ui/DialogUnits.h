// Dialog units to pixels. A template's sizes and positions are given in dialog units: a quarter
// of the dialog font's average character width horizontally and an eighth of its character
// height vertically, so a dialog keeps its proportions whatever font it is shown in.
#pragma once

#include "platform/ui/Template.h"

#include <QFont>
#include <QRect>

namespace ui {

// Rounds a * b / c to the nearest integer, halves away from zero (c != 0).
int MulDiv(int a, int b, int c);

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    // Explicit base units (pixels per average character, pixels per character height).
    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }
    int ToPixelsX(int x) const { return MulDiv(x, m_baseX, 4); }
    int ToPixelsY(int y) const { return MulDiv(y, m_baseY, 8); }
    // Position and size are converted each on its own, as dialog creation does it.
    QRect ToPixels(const Rect& r) const;

private:
    int m_baseX;
    int m_baseY;
};

// The font a template asks for: its family (or the desktop's sans serif) at its point size.
QFont TemplateFont(const DialogTemplate& dialog);

} // namespace ui
