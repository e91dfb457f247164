#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Every window and dialog opens within the available area of its screen (the screen less
// panels and docks): one larger than that area is made smaller, one that sticks out is
// moved in, and one that fits stays where it was placed. At a large scale factor a window's
// designed size can exceed a small screen, and a button off the screen cannot be pressed.

// The rule on rectangles: the frame of the given size at frame's position, moved so that it
// lies within available. A frame larger than available is aligned with its top-left corner,
// so that the title bar stays reachable.
QRect FitInside(const QRect& frame, const QRect& available);

// The frame size a window may have within available: its size, no larger than available,
// and no smaller than minimum (the window's own minimum frame size).
QSize FittedFrameSize(const QSize& frame, const QSize& available, const QSize& minimum);

// Fits a top-level window, shown or about to show, into the available area of the screen
// its frame is on. A maximised, full-screen or minimised window is left to the window
// system.
void FitOnScreen(QWidget* window);

// Fits a top-level window's frame into available. A minimum size larger than the area is
// lowered to it first: a window's designed size is its minimum, and at a large scale factor
// that can exceed a small screen, whose edge would then cut off its buttons.
void FitInto(QWidget* window, const QRect& available);

// Fits every window and dialog of the application when it shows, before it appears.
void KeepWindowsOnScreen();
