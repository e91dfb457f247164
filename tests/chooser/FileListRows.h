#pragma once

#include "chooser/OpenDialogWindow.h"

#include <QAbstractItemView>
#include <QStringList>
#include <QTest>
#include <QTreeView>

// The rows of a running open dialog's file list, by name.

// The file list's index of a name in the folder shown, once the model has read it.
inline QModelIndex IndexOf(OpenDialogWindow& dialog, const QString& name)
{
    return dialog.ListIndexOf(dialog.CurrentFolder() + u'/' + name);
}

// True once every name is shown, in the order given: the list has been read and sorted.
inline bool Listed(OpenDialogWindow& dialog, const QStringList& names)
{
    int previousRow = -1;
    for (const QString& name : names) {
        const QModelIndex index = IndexOf(dialog, name);
        if (!index.isValid() || dialog.FileList()->visualRect(index).isEmpty() || index.row() <= previousRow)
            return false;
        previousRow = index.row();
    }
    return true;
}

inline void CtrlClick(OpenDialogWindow& dialog, const QString& name)
{
    QTreeView* list = dialog.FileList();
    const QRect rect = list->visualRect(IndexOf(dialog, name));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rect.center());
}
