#pragma once

#include "support/core/SizeTexts.h"
#include "tests/common/TempFolder.h"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

// The tree the size tests count: 10 + 200 + 3,000 bytes in three files (tree/a, tree/sub/b,
// tree/sub/deeper/c) and three folders, made under the folder's subfolder under ("" for the
// folder itself).
inline void MakeSizeTree(const TempFolder& folder, const std::string& under = {})
{
    const std::string top = under.empty() ? "tree" : under + "/tree";
    folder.MakeFile(top + "/a", 10);
    folder.MakeFile(top + "/sub/b", 200);
    folder.MakeFile(top + "/sub/deeper/c", 3000);
}

// The status bar's words for a total of bytes, files and folders, all read.
inline QString SizeTotalOf(std::int64_t bytes, std::int64_t files, std::int64_t folders)
{
    return SizeTotalText(SizeTotal {.bytes = bytes, .files = files, .folders = folders, .unreadable = {}});
}

// A change on disk named "grow NAME" (1,000 bytes appended in place), "add NAME" (a new file
// of 5 bytes) or "remove NAME", NAME in the folder.
inline void ChangeOnDisk(const TempFolder& folder, const QString& change)
{
    const std::string name = change.section(' ', 1).toStdString();
    if (change.startsWith("grow"))
        std::ofstream(folder.Path(name), std::ios::app) << std::string(1000, 'x');
    else if (change.startsWith("add"))
        folder.MakeFile(name, 5);
    else
        std::filesystem::remove(folder.Path(name));
}
