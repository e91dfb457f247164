#pragma once

#include <vector>

class QItemSelectionModel;

// The rows that a selection of whole rows covers, ascending, each once. Taken from the
// selection's ranges in one pass: QItemSelectionModel::selectedRows asks of every row whether
// it is selected, which grows with the square of the ranges of a scattered selection.
std::vector<int> SelectedRows(const QItemSelectionModel& selection);
