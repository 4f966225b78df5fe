#pragma once
// Where a window kept at a position of an earlier session opens: a screen may
// have gone (a second monitor) or the settings file may hold absurd values.

#include <QList>
#include <QRect>

// The top-left corner for a window of the given size kept at corner:
// unchanged when the window lies whole on one of the available areas,
// otherwise brought inside primary (its top-left corner when it is larger).
// Corner and size come as read from the settings: any int, never summed
// before they are bounded.
QPoint placeOnScreens(QPoint corner, QSize size, const QList<QRect>& available, const QRect& primary);

// placeOnScreens over the screens of the running program.
QPoint placeOnScreens(QPoint corner, QSize size);
