#pragma once

#include <vector>

// How the history list reorders its rows, as pure functions over positions.
// A result gives the new order (the row shown at each position, by its old
// position) and the positions of the moved rows afterwards.
namespace RowMoves
{
struct Result {
    std::vector<int> order;
    std::vector<int> selected;
};

// The selected rows one up: a block moves up by one, a scattered selection
// gathers into one block starting one above its first row.
Result MoveUp(int rowCount, std::vector<int> selected);
// The selected rows one down: a block moves down by one, a scattered
// selection gathers into one block ending one below its last row.
Result MoveDown(int rowCount, std::vector<int> selected);
// Dragged rows dropped on a row: before it when they come from below, after
// it when they come from above; beyond the rows (or -1): at the end.
Result Drop(int rowCount, std::vector<int> dragged, int dropRow);
} // namespace RowMoves
