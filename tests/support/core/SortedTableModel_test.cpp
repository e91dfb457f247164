#include "support/core/RowOrder.h"
#include "support/core/SortedTableModel.h"

#include <QItemSelectionModel>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

// One column of numbers, sorted ascending or descending by Sort.
class Numbers : public SortedTableModel {
public:
    explicit Numbers(std::vector<int> numbers) : numbers_(std::move(numbers)) {}

    void Sort(bool descending)
    {
        ReorderRows([&] {
            std::vector<int> order(numbers_.size());
            std::iota(order.begin(), order.end(), 0);
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                return descending ? numbers_[std::size_t(b)] < numbers_[std::size_t(a)]
                                  : numbers_[std::size_t(a)] < numbers_[std::size_t(b)];
            });
            ApplyOrder(numbers_, order);
            return order;
        });
    }
    int At(const QModelIndex& index) const { return numbers_[std::size_t(index.row())]; }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(numbers_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex&, int) const override { return {}; }

private:
    std::vector<int> numbers_;
};

}  // namespace

// Selected rows, the current row and other persistent indexes stay on their numbers, over
// a re-sort and back; the layout changes once per sort.
TEST(SortedTableModel, KeepsSelectionAndCurrentRowAcrossASort)
{
    Numbers model({40, 10, 30, 20, 50});
    QItemSelectionModel selection(&model);
    selection.select(QItemSelection(model.index(0, 0), model.index(0, 1)), QItemSelectionModel::Select);
    selection.select(QItemSelection(model.index(2, 0), model.index(3, 1)), QItemSelectionModel::Select);
    selection.setCurrentIndex(model.index(3, 1), QItemSelectionModel::NoUpdate);
    const QPersistentModelIndex fifty = model.index(4, 0);
    int layouts = 0;
    QObject::connect(&model, &QAbstractItemModel::layoutChanged, [&] { ++layouts; });

    const auto selectedNumbers = [&] {
        std::vector<int> numbers;
        for (const QModelIndex& index : selection.selectedRows())
            numbers.push_back(model.At(index));
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    };
    for (const bool descending : {false, true}) {
        model.Sort(descending);
        EXPECT_EQ(selectedNumbers(), (std::vector<int> {20, 30, 40}));
        EXPECT_EQ(selection.selectedIndexes().size(), 6);
        EXPECT_EQ(model.At(selection.currentIndex()), 20);
        EXPECT_EQ(selection.currentIndex().column(), 1);
        EXPECT_EQ(fifty.row(), descending ? 0 : 4);
    }
    EXPECT_EQ(model.At(model.index(1, 0)), 40);
    EXPECT_EQ(layouts, 2);
}
