#pragma once

#include <QPalette>

// Lists draw the selection of a list that does not have the keyboard focus (or of a window
// that is not active) with the palette's inactive colours. Where those equal the active
// ones, as in the default palette here, a focused and an unfocused selection look alike and
// the user cannot see which list the keys go to.

// The palette with a selection colour for unfocused lists of its own: a pale mix of the
// highlight and the window colour, with the normal text colour. A palette that already
// tells the two apart comes back unchanged.
QPalette WithUnfocusedSelection(QPalette palette);

// Gives the application that palette.
void UseUnfocusedSelection();
