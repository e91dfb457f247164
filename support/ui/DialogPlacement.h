#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

// Where boxes and small dialogs go on the screen. The rules are pure functions on
// rectangles (right and bottom edges as QRect keeps them), so that they can be checked
// exactly; the widget forms below apply them to real windows.

// Placement modes of CalcDialogPos.
inline constexpr int dpBelowRight = 1;  // owner's top-left corner + (20, 20)
inline constexpr int dpCentred = 2;     // centred over the owner
inline constexpr int dpAboveLeft = 3;   // owner's top-left corner - (20, 20)

// The top-left corner for a dialog of the given size placed by mode relative to owner,
// then kept on screen (see ClampToScreen). Any other mode keeps pos.
QPoint CalcDialogPos(int mode, const QRect& owner, const QSize& dialog, const QRect& screen,
                     QPoint pos);

// A left edge before the screen's left becomes 2 pixels inside it; a dialog sticking out
// on the right moves to end 2 pixels inside the right edge. The same vertically.
QPoint ClampToScreen(QPoint pos, const QSize& dialog, const QRect& screen);

// The taskbar: the strip of the screen that lies outside its available geometry, looked
// for along the bottom, top, right and left edges in that order. None when the whole
// screen is available.
std::optional<QRect> TaskbarRect(const QRect& screen, const QRect& available);

// Keeps a window's rectangle within the desktop and, when a taskbar runs along a whole
// edge of it, moves the window off the taskbar just far enough. Gives the new rectangle.
QRect KeepOffTaskbar(const QRect& form, const QRect& desktop, const std::optional<QRect>& taskbar);

// The widget forms: owner and dialog are top-level windows (a child widget stands for its
// window); positions are frame positions in global coordinates. The screen is the one
// the owner is on. Nothing happens without an owner or a dialog.
void CalcDialogPos(int mode, const QWidget* owner, const QWidget* dialog, int& x, int& y);

// Moves form by the rules above on the screen it stands on.
void KeepOffTaskbar(QWidget* form);

// The rectangle of a window's frame; for a window that has not shown yet, the frame it is
// expected to get.
QRect WindowFrameRect(const QWidget* window);

// The screen rectangles the rules work on: the screen that holds the centre of the
// rectangle, else the primary screen.
QRect ScreenRectAt(const QRect& rect);
QRect AvailableRectAt(const QRect& rect);
