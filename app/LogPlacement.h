// Where the log window goes: beside the main window where it fits on the screen's available
// area, otherwise where it covers the least of the main window, never off that area.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The log window's top-left corner for a log window of size log beside the main window's frame
// main, within available (the screen's area less panels). The right side is preferred, then
// the left, below and above; among places that cover the main window equally the one nearest
// the right side wins.
QPoint PlaceLogWindow(const QRect& main, const QSize& log, const QRect& available);

// The area two rectangles share, in square pixels.
long long OverlapArea(const QRect& a, const QRect& b);
