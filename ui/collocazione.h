#pragma once

// Where a window opens: beside the main menu (10 pixels to its right, 10 below the top of the
// screen) or centred, and in both cases whole on the screen the menu is on: a window larger than
// the screen gets smaller, one that would run past an edge moves in.

#include <QMargins>
#include <QRect>

class QWidget;

namespace ui {

enum class Posto { AccantoAlMenu, Centrata };

// The window's inner rectangle for a window of this size with these frame margins (the window
// manager's title bar and border), given the menu's outer rectangle and the screen's free area.
// A centred window that would cover the menu moves right of it when the screen has room.
QRect postoFinestra(Posto posto, const QRect& menu, const QRect& area, QSize dimensione, QMargins bordi);

// Places the window by postoFinestra on the menu's screen (the main menu found among the
// program's windows; without one, the screen the window is on, with no menu to avoid).
void colloca(QWidget* finestra, Posto posto = Posto::AccantoAlMenu);

}  // namespace ui
