#pragma once

#include "support/core/ObjectSize.h"
#include "support/core/ObjectsTotal.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// The texts that tell sizes in the main window: the object list's tooltips and the status
// bar's total, progress and hints.

// "1,234,567 バイト　89 ファイル　12 フォルダ", with a mark when part could not be read.
QString SizeTotalText(const SizeTotal& total);
// The progress of a count: "計算中… 12,345 ファイル".
QString CountingText(std::int64_t files);
// An object that a listed folder already holds (holder: its path, code page 932).
QString NestedObjectText(const std::string& holder);
// What a count could not read, the first few places named.
QString UnreadableSizeText(const std::vector<std::string>& unreadable);
// The objects are counted again at an interval instead of followed as they change.
QString RescanningText();
