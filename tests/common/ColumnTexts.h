#pragma once

#include <QAbstractItemModel>
#include <QStringList>

// The texts that column shows, top row first.
inline QStringList ColumnTexts(const QAbstractItemModel& model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}
