#pragma once

#include "support/core/ObjectSize.h"
#include "support/core/ObjectsTotal.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// The texts that tell sizes in both object lists (the main window's and the wizard's): the
// rows' tooltips, the total, the progress and the hints of the status bars.

// "1,234,567 バイト　89 ファイル　12 フォルダ", with a mark when part could not be read.
QString SizeTotalText(const SizeTotal& total);
// The bytes alone in the size format of the wizard's status bar ("1.23 MB"), with the same
// mark.
QString ShortSizeTotalText(const SizeTotal& total);
// The progress of a count: "計算中… 12,345 ファイル".
QString CountingText(std::int64_t files);
// An object that a listed folder already holds (holder: its path, code page 932).
QString NestedObjectText(const std::string& holder);
// The tooltip of an object's row: its path, the listed folder that already holds it (empty:
// none) and what its count (null: none yet) could not read.
QString ObjectToolTip(const std::string& path, const std::string& holder, const ObjectSize* size);
// What a count could not read, the first few places named.
QString UnreadableSizeText(const std::vector<std::string>& unreadable);
// The objects are counted again at an interval instead of followed as they change.
QString RescanningText();
// The hint of a status bar: the filter's note on hidden added rows, then the folder that holds
// the current object (empty: none), or else the rescanning note when objects are rescanned.
QString SizeHintText(const QString& filterNote, const std::string& holder, bool rescanning);
