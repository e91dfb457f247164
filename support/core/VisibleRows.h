#pragma once

#include "support/core/ObjectFilter.h"

#include <functional>
#include <vector>

// The rows of a list that its filter lets through, in the list's order, over keys the list
// keeps one per row. Without words every row is shown and nothing is stored, so that a list
// nobody filters pays nothing. Rows are the list's own numbers; shown rows are what views
// see.
class VisibleRows {
public:
    using KeyOf = std::function<const QString&(int row)>;

    bool Active() const { return !words_.IsEmpty(); }
    const FilterWords& Words() const { return words_; }

    // Takes new words: when they narrow the present ones only the shown rows are looked at
    // again; when they are words shown earlier on the way to the present ones (erasing what
    // was typed), their rows are shown again as they were; else every row is looked at.
    void SetWords(FilterWords words, int rowCount, const KeyOf& keyOf);
    // Looks at every row again (after the rows were replaced).
    void Rematch(int rowCount, const KeyOf& keyOf);
    // Rows moved or went: newRowOf gives the new row of each old row, -1 for one that went.
    void Follow(const std::vector<int>& newRowOf);
    // Of count rows that came at first, the ones the words let through.
    std::vector<int> Matching(int first, int count, const KeyOf& keyOf) const;
    // count rows came at first: later rows move down by count, and the matching new ones
    // (from Matching) are shown, from shown row ShownPlace(first) on.
    void Insert(int first, int count, const std::vector<int>& matching);
    // The shown row that a row would take if it were shown.
    int ShownPlace(int row) const;

    int Count(int rowCount) const { return Active() ? static_cast<int>(shown_.size()) : rowCount; }
    int Row(int shownRow) const { return Active() ? shown_[std::size_t(shownRow)] : shownRow; }
    // The shown row of a row; -1 when the filter hides it.
    int ShownRowOf(int row) const;

private:
    struct Earlier {
        FilterWords words;
        std::vector<int> shown;
    };

    // Forgets the rows of earlier words once the rows change.
    void Forget() { earlier_.clear(); }

    FilterWords words_;
    std::vector<int> shown_;
    // The words before the present ones with the rows they showed, each narrowed by the
    // next: typing on adds one, erasing back to one takes it up again.
    std::vector<Earlier> earlier_;
};
