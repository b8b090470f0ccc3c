#include "RowMoves.h"

#include <algorithm>
#include <numeric>

namespace
{
std::vector<int> Identity(int rowCount)
{
    std::vector<int> order(static_cast<std::size_t>(std::max(rowCount, 0)));
    std::iota(order.begin(), order.end(), 0);
    return order;
}

int PositionOf(const std::vector<int>& order, int row)
{
    return static_cast<int>(std::find(order.begin(), order.end(), row) - order.begin());
}

void Move(std::vector<int>& order, int from, int to)
{
    const int row = order[static_cast<std::size_t>(from)];
    order.erase(order.begin() + from);
    order.insert(order.begin() + std::min(to, static_cast<int>(order.size())), row);
}

std::vector<int> Valid(int rowCount, std::vector<int> rows)
{
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [rowCount](int r) { return r < 0 || r >= rowCount; }),
               rows.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

RowMoves::Result Finish(std::vector<int> order, const std::vector<int>& moved)
{
    RowMoves::Result result{std::move(order), {}};
    for (int row : moved)
        result.selected.push_back(PositionOf(result.order, row));
    std::sort(result.selected.begin(), result.selected.end());
    return result;
}
} // namespace

RowMoves::Result RowMoves::MoveUp(int rowCount, std::vector<int> selected)
{
    selected = Valid(rowCount, std::move(selected));
    std::vector<int> order = Identity(rowCount);
    if (selected.empty())
        return {order, {}};
    int target = std::max(selected.front() - 1, 0);
    for (int row : selected)
        Move(order, PositionOf(order, row), target++);
    return Finish(std::move(order), selected);
}

RowMoves::Result RowMoves::MoveDown(int rowCount, std::vector<int> selected)
{
    selected = Valid(rowCount, std::move(selected));
    std::vector<int> order = Identity(rowCount);
    if (selected.empty())
        return {order, {}};
    const int target = std::min(selected.back() + 1, rowCount - 1);
    std::vector<int> still = selected; // rows not moved yet, by their old numbers
    for (std::size_t n = 0; n < selected.size(); ++n) {
        // The first selected row from the top; the last row stays where it is.
        int first = rowCount;
        for (int row : selected)
            first = std::min(first, PositionOf(order, row));
        const int row = order[static_cast<std::size_t>(first)];
        if (first < rowCount - 1 && std::find(still.begin(), still.end(), row) != still.end()) {
            Move(order, first, target);
            still.erase(std::find(still.begin(), still.end(), row));
        }
    }
    return Finish(std::move(order), selected);
}

RowMoves::Result RowMoves::Drop(int rowCount, std::vector<int> dragged, int dropRow)
{
    dragged = Valid(rowCount, std::move(dragged));
    if (dragged.empty())
        return {Identity(rowCount), {}};
    int insertAt = dropRow;
    if (dragged.front() < insertAt)
        ++insertAt; // from above: after the row dropped on
    if (insertAt < 0 || insertAt > rowCount - 1)
        insertAt = rowCount;
    std::vector<int> order;
    for (int row = 0; row < insertAt; ++row)
        if (!std::binary_search(dragged.begin(), dragged.end(), row))
            order.push_back(row);
    order.insert(order.end(), dragged.begin(), dragged.end());
    for (int row = insertAt; row < rowCount; ++row)
        if (!std::binary_search(dragged.begin(), dragged.end(), row))
            order.push_back(row);
    return Finish(std::move(order), dragged);
}
