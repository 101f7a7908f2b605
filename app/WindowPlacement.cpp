#include "app/WindowPlacement.h"

#include <algorithm>
#include <optional>

namespace {

// The start of a span of size length near want, within [low, low + room); low when it is longer.
int Clamp(int want, int length, int low, int room)
{
    return std::max(low, std::min(want, low + room - length));
}

QRect ClampInto(const QRect& area, QPoint want, QSize size)
{
    return {QPoint(Clamp(want.x(), size.width(), area.left(), area.width()),
                   Clamp(want.y(), size.height(), area.top(), area.height())),
            size};
}

bool Clear(const QRect& area, const QRect& main, const QRect& log)
{
    return area.contains(log) &&
           OverlapArea(log.adjusted(-kWindowGap, -kWindowGap, kWindowGap, kWindowGap), main) == 0;
}

// The log window of frame size log beside main, on the first side where it stands clear.
std::optional<QRect> Beside(const QRect& area, const QRect& main, QSize log)
{
    const QPoint sides[] = {{main.right() + 1 + kWindowGap, main.top()},
                            {main.left() - kWindowGap - log.width(), main.top()},
                            {main.left(), main.bottom() + 1 + kWindowGap},
                            {main.left(), main.top() - kWindowGap - log.height()}};
    for (const QPoint& side : sides) {
        // Level with the main window where the area allows, never across it.
        const QRect at = ClampInto(area, side, log);
        if (Clear(area, main, at))
            return at;
    }
    return std::nullopt;
}

// Both windows as a pair, the log window to the right of the main window (across) or below it,
// the pair as near the main window's own place as the area allows. Null when the log window
// does not fit.
std::optional<WindowPlaces> Pair(const QRect& area, QPoint home, QSize main, QSize log, bool across)
{
    const QSize pair =
        across
            ? QSize(main.width() + kWindowGap + log.width(), std::max(main.height(), log.height()))
            : QSize(std::max(main.width(), log.width()), main.height() + kWindowGap + log.height());
    if (pair.width() > area.width() || pair.height() > area.height())
        return std::nullopt;
    const QRect mainAt(
        QPoint(Clamp(home.x(), across ? pair.width() : main.width(), area.left(), area.width()),
               Clamp(home.y(), across ? main.height() : pair.height(), area.top(), area.height())),
        main);
    const QPoint logWant = across ? QPoint(mainAt.right() + 1 + kWindowGap, mainAt.top())
                                  : QPoint(mainAt.left(), mainAt.bottom() + 1 + kWindowGap);
    return WindowPlaces{mainAt, ClampInto(area, logWant, log)};
}

} // namespace

long long OverlapArea(const QRect& a, const QRect& b)
{
    const QRect shared = a.intersected(b);
    return shared.isEmpty() ? 0 : static_cast<long long>(shared.width()) * shared.height();
}

WindowPlaces PlaceWindows(const QRect& available, const WindowSizes& sizes)
{
    const QSize main = sizes.main.grownBy(sizes.mainFrame);
    const QSize log = sizes.log.grownBy(sizes.logFrame);
    const QSize minimum = sizes.logMinimum.boundedTo(sizes.log).grownBy(sizes.logFrame);
    const QPoint home = available.topLeft() + kMainWindowOffset;

    // Where the user expects it, with the log window at its full size beside it.
    const QRect mainAt = ClampInto(available, home, main);
    if (const auto logAt = Beside(available, mainAt, log))
        return {mainAt, *logAt};
    for (const bool across : {true, false})
        if (const auto pair = Pair(available, home, main, log, across))
            return *pair;

    // The log window shrinks to the room the main window leaves beside or below it; the larger
    // of the two wins.
    std::optional<WindowPlaces> best;
    long long bestArea = 0;
    for (const bool across : {true, false}) {
        const QSize room =
            across ? QSize(available.width() - main.width() - kWindowGap, available.height())
                   : QSize(available.width(), available.height() - main.height() - kWindowGap);
        const QSize shrunk = log.boundedTo(room);
        if (shrunk.width() < minimum.width() || shrunk.height() < minimum.height())
            continue;
        const auto pair = Pair(available, home, main, shrunk, across);
        const long long area = static_cast<long long>(shrunk.width()) * shrunk.height();
        if (pair && area > bestArea) {
            best = pair;
            bestArea = area;
        }
    }
    if (best)
        return *best;

    // No room: the main window in the area's top left corner and the smallest log window in the
    // opposite one, where it covers the least of the main window.
    const QRect corner = ClampInto(available, available.topLeft(), main);
    const QSize small = minimum.boundedTo(available.size());
    return {corner, ClampInto(available, available.bottomRight() + QPoint(1, 1), small), false};
}
