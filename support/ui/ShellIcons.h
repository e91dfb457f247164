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

// The generic file icon faded in every mode: the look of an object that no longer exists.
QIcon MissingFileIcon();

// The icon of a file by the extension of its name; the generic file icon when the extension
// names no known type. The same QIcon (same cacheKey) is returned for every such file.
QIcon FileIconForName(const QString& fileName);

// The type text of a file by its name: the MIME database's comment in the user-interface
// language, else the program's "EXT ファイル" or "ファイル".
QString FileTypeForName(const QString& fileName);
