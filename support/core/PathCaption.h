#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The caption of a path label: a path that is wider than the label gives up a run of its
// folder names to "...", so that the drive (when there is one) and the file name stay in
// view. Texts are code page 932 bytes; widths come from the measure function given, in
// whatever unit the label counts (pixels of its font).

// Which run of folders gives way to "...": drFromLeft keeps the folders nearest the file
// name, drFromRight the folders after the drive.
enum class TDirection { drFromLeft = 0, drFromRight = 1 };

using TextWidth = std::function<int(std::string_view text)>;

// Appends to list the pieces of s between occurrences of sep (a plain byte search): n
// separators give n + 1 pieces, empty where separators meet or stand at an end. An empty
// sep splits nothing.
void SplitByText(std::string_view s, std::string_view sep, std::vector<std::string>& list);

// A path split at its separator, ready to be laid out at any width.
class PathCaption {
public:
    PathCaption() = default;
    PathCaption(std::string fileName, std::string separator);

    const std::string& FileName() const { return fileName_; }
    const std::string& Separator() const { return separator_; }
    const std::vector<std::string>& Parts() const { return parts_; }

    // The first part names a drive: at least 2 bytes, the last of them ":".
    bool HasDrive() const { return hasDrive_; }

    // The caption for a label width wide. The whole path, the file name alone and the
    // "..." forms must be narrower than width; the middle folders may fill it exactly.
    std::string Layout(int width, TDirection direction, const TextWidth& measure) const;

private:
    std::string fileName_;
    std::string separator_;
    std::vector<std::string> parts_;
    bool hasDrive_ = false;
};
