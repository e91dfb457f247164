#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QMimeData;

// What a paste or a drop of files offers as object paths: file URLs (a file manager's copy
// or drag) or text with one full path a line.
struct PastedPaths {
    // Full paths in code page 932, in the order given.
    std::vector<std::string> Paths;
    // Lines (or URLs) that name no local path, as given; blank lines do not count.
    QStringList NotPaths;
    // Paths in code page 932 that name nothing on disk.
    std::vector<std::string> Missing;
    // Paths that have no code page 932 form, as they were given; they cannot be kept.
    QStringList Unconvertible;
    // Paths in code page 932 that a catalog cannot hold (ObjectPathReadsBack).
    std::vector<std::string> Unstorable;

    bool IsEmpty() const
    {
        return Paths.empty() && NotPaths.isEmpty() && Missing.empty() && Unconvertible.isEmpty()
            && Unstorable.empty();
    }
};

PastedPaths ReadPastedPaths(const QMimeData& data);

// The information box text that tells the user what a paste left out, naming each line and
// path it could not take as the host shows it, or "" when nothing was left out.
QString PasteRemarks(const PastedPaths& pasted);
