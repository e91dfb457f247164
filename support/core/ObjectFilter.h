#pragma once

#include <QString>
#include <QStringView>

#include <string_view>
#include <vector>

// The filter of the object lists: an object is shown when every blank-separated word typed
// is found in its name or in its folder, letter case and character width aside (Ａ finds a,
// ｶﾅ finds カナ). Both sides are compared folded: NFKC, then case folding.

// The folded form of a text.
QString FoldForFilter(const QString& text);

// The key a list keeps for an object path, made once when its row is made: the folded name
// and the folded folder (the texts the two columns show), apart, so that no word is found
// across the two.
QString ObjectFilterKey(std::string_view path);

// The words of a filter, folded. No words: every object is shown.
class FilterWords {
public:
    FilterWords() = default;
    // The words of a typed text; a full-width blank separates words as a blank does.
    explicit FilterWords(const QString& typed);

    bool IsEmpty() const { return words_.empty(); }
    // Whether the key holds every word.
    bool Matches(QStringView key) const;
    // Whether every key these words match is matched by earlier too, so that only the rows
    // earlier let through need be looked at again (typing on narrows, erasing widens).
    bool Narrows(const FilterWords& earlier) const;

    friend bool operator==(const FilterWords&, const FilterWords&) = default;

private:
    std::vector<QString> words_;
};
