#include "ui/shell/onScreen.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

// Far beyond any screen, and far from int's limits where QRect's sums overflow.
constexpr int FAR = 1 << 20;

} // namespace

QPoint placeOnScreens(QPoint corner, QSize size, const QList<QRect>& available, const QRect& primary)
{
    const QRect w(std::clamp(corner.x(), -FAR, FAR), std::clamp(corner.y(), -FAR, FAR),
                  std::clamp(size.width(), 1, FAR), std::clamp(size.height(), 1, FAR));
    for (const QRect& a : available)
        if (a.contains(w))
            return w.topLeft();
    if (primary.isEmpty())
        return {0, 0};
    const int x = std::clamp(w.x(), primary.left(), std::max(primary.left(), primary.right() + 1 - w.width()));
    const int y = std::clamp(w.y(), primary.top(), std::max(primary.top(), primary.bottom() + 1 - w.height()));
    return {x, y};
}

QPoint placeOnScreens(QPoint corner, QSize size)
{
    QList<QRect> areas;
    for (const QScreen* s : QGuiApplication::screens())
        areas << s->availableGeometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    return placeOnScreens(corner, size, areas, primary ? primary->availableGeometry() : QRect());
}
