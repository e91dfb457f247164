#pragma once

#include <QIcon>
#include <QString>

// Icons of the file system's objects, chosen by kind and by the name's extension only: an
// object is never opened to find its icon. Safe to call from the file model's worker thread.

QIcon FolderIcon();
QIcon ComputerIcon();
QIcon NetworkIcon();
QIcon DesktopIcon();
QIcon GenericFileIcon();

// The icon of a file by the extension of its name.
QIcon FileIconForName(const QString& fileName);

// The type text of a file by the extension of its name: the MIME database's comment, else
// "<EXT> ファイル" or "ファイル".
QString FileTypeForName(const QString& fileName);
