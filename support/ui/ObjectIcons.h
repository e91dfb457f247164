#pragma once

#include "support/core/FileFacts.h"

#include <QIcon>
#include <QString>

#include <string_view>

class TImageList;

// The program's one cache of the icons and type texts of the file system's objects, for
// every list that shows them: the main window's object list, the wizard's object list and
// the chooser's file list, places and history. An icon is chosen by the object's kind and
// its name only: an object is never opened to find it. A file's icon and its type text come
// from one look-up per type ending (TypeEnding of support/core/FileNames), so they agree.
// Every icon handed out is numbered in GetSystemImageList, so that a list of many rows keeps
// an int per row. Used from the user-interface thread only.

QIcon FolderIcon();
QIcon ComputerIcon();
QIcon NetworkIcon();
QIcon DesktopIcon();
QIcon GenericFileIcon();

// The generic file icon faded in every mode: the look of an object that does not exist, in
// every list.
QIcon MissingFileIcon();

// The icon of a file by its name (display form): that of the type the name's ending gives,
// the generic file icon when the type is not known. Every name of a type gets the same QIcon
// (same cacheKey).
QIcon FileIconForName(const QString& fileName);

// The type text of a file by its name: the type's description in the user-interface
// language, else the program's "EXT ファイル" or "ファイル" (FileTypeText).
QString FileTypeForName(const QString& fileName);

// The number in GetSystemImageList of the icon of an object of this kind whose name (code
// page 932, without its folder) is fileName: the folder icon, the file's icon by its name,
// or MissingFileIcon.
int ObjectIconIndex(ObjectKind kind, std::string_view fileName);
QIcon ObjectIcon(ObjectKind kind, std::string_view fileName);

// ObjectIconIndex of the object at path (code page 932) as it is on disk now.
int PathIconIndex(std::string_view path);

int GetDesktopIconIndex();
int ComputerIconIndex();
int NetworkIconIndex();

// Every icon handed out above, by its number, at the large icon size; index 0 is the generic
// file icon. One list for the whole program, never freed.
const TImageList& GetSystemImageList();
