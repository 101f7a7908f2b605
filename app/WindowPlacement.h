// Where the main window and the log window stand on a screen. The main window comes first: it
// lies wholly within the screen's available area. The log window goes beside it where there is
// room, shrunk where there is a little less, and over it only where there is none; it never
// leaves the area either. Pure geometry, so that the rule can be checked without a display.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

struct WindowSizes {
    QSize main;         // the main window's client size (it cannot be resized)
    QMargins mainFrame; // the window manager's decorations around it
    QSize log;          // the log window's client size as designed
    QSize logMinimum;   // the smallest client size the log window may be shrunk to
    QMargins logFrame;  // the decorations around the log window
};

struct WindowPlaces {
    // Frame rectangles, decorations included.
    QRect main;
    QRect log;
    bool apart = true; // false when the log window has to cover part of the main window
};

// Between the two windows' frames.
inline constexpr int kWindowGap = 4;
// Where the main window's frame opens on an empty screen, from the area's top left corner.
inline constexpr QPoint kMainWindowOffset(32, 32);

// Both windows' frames on the available area. The log window keeps its designed size beside the
// main window (right, left, below, above) where it fits; else the main window moves towards the
// area's top left corner to make room; else the log window shrinks to the room beside or below
// it, down to its minimum; else it takes its minimum size in the area's far corner, covering as
// little of the main window as it can (not apart). A main window larger than the area stands at
// its top left.
WindowPlaces PlaceWindows(const QRect& available, const WindowSizes& sizes);

// The area two rectangles share, in square pixels.
long long OverlapArea(const QRect& a, const QRect& b);
