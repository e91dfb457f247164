#pragma once

#include <QCollatorSortKey>

#include <string_view>

// The user locale's collation of code page 932 texts (the default QLocale), case-sensitive
// like lstrcmp and CompareString without flags, or without case like lstrcmpi. Results are
// -1, 0 or 1. Stray bytes take part as U+FFFD. Sorting many texts compares precomputed keys
// (a.compare(b)) rather than converting inside every comparison; keys made under different
// default locales must not be mixed.

int LocaleCompare(std::string_view a, std::string_view b);
QCollatorSortKey LocaleSortKey(std::string_view s);

int LocaleCompareNoCase(std::string_view a, std::string_view b);
QCollatorSortKey LocaleSortKeyNoCase(std::string_view s);
