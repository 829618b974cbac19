#pragma once

class QWidget;

// How a window is placed each time it is shown: where it was put (Move), or centred by its frame
// (Centre), on the screen of its owner.
enum class TPlacing { Move, Centre };

// Keeps window (a top-level window) whole on the screen that holds most of owner (none: of the
// window itself), as PlaceFrame says, each time it is shown: before the window system shows it,
// with the frame it had last or the last framed window's (the window system's frame is not known
// before), and again once the window system has framed it. A window that can be resized shrinks
// to the screen where it is larger. The keeper belongs to window.
void KeepOnScreen(QWidget& window, const QWidget* owner, TPlacing placing = TPlacing::Move);
