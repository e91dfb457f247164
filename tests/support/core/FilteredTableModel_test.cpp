#include "support/core/FilteredTableModel.h"
#include "support/core/RowOrder.h"

#include <QItemSelectionModel>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

// One column of words, each its own filter key; rows go in at a place, out by their shown
// rows, and are sorted alphabetically either way.
class Words : public FilteredTableModel {
public:
    explicit Words(const QStringList& words) { Insert(0, words); }

    void Insert(int at, const QStringList& words)
    {
        InsertRows(at, int(words.size()), [&] {
            for (int i = 0; i < words.size(); ++i)
                words_.insert(words_.begin() + at + i, words[i]);
        });
    }
    void Remove(const std::vector<int>& shownRows)
    {
        const std::vector<int> rows = RowsOfShown(shownRows);
        const auto erase = [&] {
            for (auto row = rows.rbegin(); row != rows.rend(); ++row)
                words_.erase(words_.begin() + *row);
        };
        if (IsFiltered()) {
            RemoveFilteredRows(rows, erase);
            return;
        }
        beginResetModel();
        erase();
        endResetModel();
    }
    void Sort(bool descending)
    {
        ReorderRows([&] {
            std::vector<int> order(words_.size());
            std::iota(order.begin(), order.end(), 0);
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                return descending ? words_[std::size_t(b)] < words_[std::size_t(a)]
                                  : words_[std::size_t(a)] < words_[std::size_t(b)];
            });
            ApplyOrder(words_, order);
            return order;
        });
    }
    QString At(const QModelIndex& index) const { return words_[std::size_t(RowOfShown(index.row()))]; }
    QStringList Shown() const
    {
        QStringList shown;
        for (int row = 0; row < rowCount(); ++row)
            shown << At(index(row, 0));
        return shown;
    }

    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex&, int) const override { return {}; }

private:
    int HeldRowCount() const override { return int(words_.size()); }
    const QString& FilterKey(int row) const override { return words_[std::size_t(row)]; }

    std::vector<QString> words_;
};

QStringList Selected(const Words& model, const QItemSelectionModel& selection)
{
    QStringList words;
    for (const QModelIndex& index : selection.selectedRows())
        words << model.At(index);
    words.sort();
    return words;
}

}  // namespace

// Typing narrows from the rows shown, erasing widens from every row: both give what a
// filter set at once gives.
TEST(FilteredTableModel, TypingOnAndErasingShowWhatTheWholeTextShows)
{
    Words model({"alpha", "beta", "alphabet", "gamma", "bet"});
    const QStringList steps[] = {
        {"a", "alpha", "beta", "alphabet", "gamma"},
        {"al", "alpha", "alphabet"},
        {"alphab", "alphabet"},
        {"alphabx"},
        {"al", "alpha", "alphabet"},
        {"al bet", "alphabet"},
        {"bet", "beta", "alphabet", "bet"},
        {"", "alpha", "beta", "alphabet", "gamma", "bet"},
    };
    for (const QStringList& step : steps) {
        model.SetFilterText(step.front());
        EXPECT_EQ(model.Shown(), step.mid(1)) << step.front().toStdString();
        EXPECT_EQ(model.IsFiltered(), !step.front().isEmpty());
        EXPECT_EQ(model.AllRowCount(), 5);
    }
}

// The selection and the current row stay on their rows while the filter changes; a
// selected row the filter hides is no longer selected, and stays unselected when shown again.
TEST(FilteredTableModel, SelectionFollowsItsRowsAndLeavesHiddenOnes)
{
    Words model({"alpha", "beta", "alphabet", "gamma"});
    QItemSelectionModel selection(&model);
    for (const int row : {1, 2, 3})
        selection.select(model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(model.index(2, 0), QItemSelectionModel::NoUpdate);

    model.SetFilterText("bet");
    EXPECT_EQ(Selected(model, selection), (QStringList {"alphabet", "beta"}));
    EXPECT_EQ(model.At(selection.currentIndex()), "alphabet");
    EXPECT_EQ(selection.currentIndex().row(), 1);

    model.SetFilterText("alpha");
    EXPECT_EQ(Selected(model, selection), (QStringList {"alphabet"}));
    model.SetFilterText("");
    EXPECT_EQ(Selected(model, selection), (QStringList {"alphabet"}));
    EXPECT_EQ(model.At(selection.currentIndex()), "alphabet");
}

// Rows that come while a filter is set are counted; the views are told of those it shows,
// in their place.
TEST(FilteredTableModel, NewRowsTakeTheirPlaceAmongTheShownOnes)
{
    Words model({"apple", "banana", "cherry"});
    model.SetFilterText("an");
    QStringList inserted;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&](const QModelIndex&, int first, int last) {
        for (int row = first; row <= last; ++row)
            inserted << model.At(model.index(row, 0));
    });
    const QPersistentModelIndex banana = model.index(0, 0);

    model.Insert(0, {"mango", "kiwi"});
    model.Insert(4, {"orange"});
    model.Insert(5, {"date"});
    EXPECT_EQ(model.Shown(), (QStringList {"mango", "banana", "orange"}));
    EXPECT_EQ(inserted, (QStringList {"mango", "orange"}));
    EXPECT_EQ(model.AllRowCount(), 7);
    EXPECT_EQ(model.At(banana), "banana");
    model.SetFilterText("");
    EXPECT_EQ(model.Shown(), (QStringList {"mango", "kiwi", "apple", "banana", "orange", "date", "cherry"}));
}

// Removing shown rows removes exactly those rows; a sort keeps the filter and the selection.
TEST(FilteredTableModel, RemovalAndSortWorkOnTheShownRows)
{
    Words model({"ant", "bee", "cat", "bat", "cow", "rat"});
    model.SetFilterText("at");
    ASSERT_EQ(model.Shown(), (QStringList {"cat", "bat", "rat"}));
    QItemSelectionModel selection(&model);
    selection.select(model.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    model.Sort(true);
    EXPECT_EQ(model.Shown(), (QStringList {"rat", "cat", "bat"}));
    EXPECT_EQ(Selected(model, selection), (QStringList {"rat"}));

    const QPersistentModelIndex bat = model.index(2, 0);
    model.Remove({1});
    EXPECT_EQ(model.Shown(), (QStringList {"rat", "bat"}));
    EXPECT_EQ(model.At(bat), "bat");
    EXPECT_EQ(Selected(model, selection), (QStringList {"rat"}));
    model.SetFilterText("");
    EXPECT_EQ(model.Shown(), (QStringList {"rat", "cow", "bee", "bat", "ant"}));
}

// Erasing back to words typed earlier shows what those words show now: rows that came,
// went or moved while the longer words were set are not shown as they were before.
TEST(FilteredTableModel, ErasingAfterAChangeOfTheRowsShowsTheRowsAsTheyAre)
{
    struct ChangeCase {
        const char* change;
        std::function<void(Words&)> apply;
        QStringList erased;   // shown for "al" after the change
    };
    const ChangeCase cases[] = {
        {"nothing", [](Words&) {}, {"alpha", "alphabet", "salt"}},
        {"insert", [](Words& model) { model.Insert(0, {"alpine"}); }, {"alpine", "alpha", "alphabet", "salt"}},
        {"remove", [](Words& model) { model.Remove({0}); }, {"alphabet", "salt"}},
        {"sort", [](Words& model) { model.Sort(true); }, {"salt", "alphabet", "alpha"}},
    };
    for (const ChangeCase& c : cases) {
        Words model({"alpha", "beta", "alphabet", "salt"});
        for (const char* typed : {"a", "al", "alp", "alph"})
            model.SetFilterText(typed);
        c.apply(model);
        model.SetFilterText("alp");
        model.SetFilterText("al");
        EXPECT_EQ(model.Shown(), c.erased) << c.change;
        model.SetFilterText("a");
        EXPECT_EQ(model.Shown().size(), c.erased.size() + 1) << c.change;
    }
}
