#pragma once

#include <QIcon>
#include <QString>

// Icons and type texts of the file system's objects, chosen by kind and by the name's
// extension only: an object is never opened to find them. Each is looked up once and cached.

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
