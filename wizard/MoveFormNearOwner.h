#pragma once

#include "support/ui/DialogPlacement.h"

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the small dialogs (rename, about) stand relative to the window that opened them.
inline constexpr int fpBelowRight = dpBelowRight;  // owner's top-left corner + (20, 20)
inline constexpr int fpCentred = dpCentred;        // centred over the owner
inline constexpr int fpAboveLeft = dpAboveLeft;    // owner's top-left corner - (20, 20)
inline constexpr int fpScreenCorner = 11;          // the bottom-right corner of the screen

// The top-left corner for a form of the given size placed by mode, kept on the screen
// (a negative coordinate becomes 2, a form sticking out ends 2 pixels inside). Any other
// mode gives the screen's top-left corner.
QPoint FormPositionNearOwner(int mode, const QRect& owner, const QSize& form, const QRect& screen);

// Moves form by that rule on the owner's screen, keeps it off the taskbar and shows it in
// its normal state. Without an owner the form is centred on the screen.
void MoveFormNearOwner(int mode, QWidget* owner, QWidget* form);
