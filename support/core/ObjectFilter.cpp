#include "support/core/ObjectFilter.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"

#include <algorithm>

namespace {

// Separates the name from the folder in a key: no word holds a blank of any kind.
constexpr char16_t KeySeparator = u'\n';

// Whether key holds word. Looks for the word's first character with the vectorised
// character search and compares the rest only there: several times faster on keys of
// object paths than a general substring search, which hashes every character.
bool Holds(QStringView key, QStringView word)
{
    if (word.size() == 1)
        return key.contains(word.front());
    const QStringView rest = word.mid(1);
    for (qsizetype at = key.indexOf(word.front()); at >= 0 && at + word.size() <= key.size();
         at = key.indexOf(word.front(), at + 1)) {
        if (key.mid(at + 1, rest.size()) == rest)
            return true;
    }
    return false;
}

}  // namespace

QString FoldForFilter(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QString ObjectFilterKey(std::string_view path)
{
    // One conversion for both texts: the separator byte is never part of a double-byte
    // character.
    const std::string texts = ExtractFileName(path) + char(KeySeparator) + ObjectFolderText(path);
    return FoldForFilter(Cp932ToDisplay(texts));
}

FilterWords::FilterWords(const QString& typed)
{
    // Folding first turns a full-width blank into a blank, so that it separates words too.
    const QString folded = FoldForFilter(typed);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= folded.size(); ++i) {
        if (i < folded.size() && !folded[i].isSpace())
            continue;
        if (i > start)
            words_.push_back(folded.mid(start, i - start));
        start = i + 1;
    }
}

bool FilterWords::Matches(QStringView key) const
{
    return std::all_of(words_.begin(), words_.end(), [key](const QString& word) { return Holds(key, word); });
}

bool FilterWords::Narrows(const FilterWords& earlier) const
{
    return std::all_of(earlier.words_.begin(), earlier.words_.end(), [this](const QString& before) {
        return std::any_of(words_.begin(), words_.end(), [&before](const QString& word) { return word.contains(before); });
    });
}
