#include "app/LogPlacement.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {
// Between the two windows' frames.
constexpr int kGap = 4;
} // namespace

long long OverlapArea(const QRect& a, const QRect& b)
{
    const QRect shared = a.intersected(b);
    return shared.isEmpty() ? 0 : static_cast<long long>(shared.width()) * shared.height();
}

QPoint PlaceLogWindow(const QRect& main, const QSize& log, const QRect& available)
{
    // Keeps a corner so that the whole window lies in the area (its top-left when it is larger).
    const auto clampX = [&](int x) {
        return std::max(available.left(), std::min(x, available.right() + 1 - log.width()));
    };
    const auto clampY = [&](int y) {
        return std::max(available.top(), std::min(y, available.bottom() + 1 - log.height()));
    };
    const QPoint preferred(main.right() + 1 + kGap, main.top());
    // Beside it, in this order, where the whole window fits clear of the main window.
    const QPoint sides[] = {preferred,
                            {main.left() - kGap - log.width(), main.top()},
                            {main.left(), main.bottom() + 1 + kGap},
                            {main.left(), main.top() - kGap - log.height()}};
    for (const QPoint& side : sides) {
        const QPoint at(clampX(side.x()), clampY(side.y()));
        if (OverlapArea(QRect(at, log), main) == 0)
            return at;
    }
    // The overlap, as a function of x and y, only changes where an edge of one window meets an
    // edge of the other or of the area: these places cover every smallest overlap.
    const int xs[] = {preferred.x(),    main.left() - kGap - log.width(),
                      main.left(),      main.right() + 1 - log.width(),
                      available.left(), available.right() + 1 - log.width()};
    const int ys[] = {main.top(),
                      main.bottom() + 1 + kGap,
                      main.top() - kGap - log.height(),
                      main.bottom() + 1 - log.height(),
                      available.top(),
                      available.bottom() + 1 - log.height()};
    QPoint best = QPoint(clampX(preferred.x()), clampY(preferred.y()));
    long long bestOverlap = LLONG_MAX;
    long long bestDistance = LLONG_MAX;
    for (const int x : xs)
        for (const int y : ys) {
            const QPoint at(clampX(x), clampY(y));
            const long long overlap = OverlapArea(QRect(at, log), main);
            const long long distance = std::llabs(static_cast<long long>(at.x()) - preferred.x()) +
                                       std::llabs(static_cast<long long>(at.y()) - preferred.y());
            if (overlap < bestOverlap || (overlap == bestOverlap && distance < bestDistance)) {
                best = at;
                bestOverlap = overlap;
                bestDistance = distance;
            }
        }
    return best;
}
