#pragma once
// Where the main window goes at start-up: the client area that was saved, moved and cut
// down so that it lies on one screen, with room above it for the window's title bar.

#include <QList>
#include <QMargins>
#include <QRect>

namespace tw {

// The client rectangle kept on the screen it overlaps most (the nearest one when it
// overlaps none), given the screens' available areas: with its frame (the title bar is the
// frame's top) it fits on that screen.
QRect placeOnScreens(QRect client, const QList<QRect>& availableAreas, const QMargins& frame);

} // namespace tw
