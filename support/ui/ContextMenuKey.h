#pragma once

class QAbstractItemView;

// Shift+F10 on a list opens its context menu, as the menu key and a right click do, at the
// list's current row (the top left corner when it has none).
void OpenContextMenuByKey(QAbstractItemView* view);
