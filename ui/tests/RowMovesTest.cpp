#include "RowMoves.h"

#include <gtest/gtest.h>

using Rows = std::vector<int>;

TEST(RowMoves, MoveUpAndDown)
{
    struct Case {
        const char* name;
        bool up;
        int rows;
        Rows selected;
        Rows order;
        Rows after;
    };
    const Case cases[] = {
        // Of 8 rows, 2 and 5 up: at rows 1 and 2; down: at rows 5 and 6.
        {"scattered up", true, 8, {2, 5}, {0, 2, 5, 1, 3, 4, 6, 7}, {1, 2}},
        {"scattered down", false, 8, {2, 5}, {0, 1, 3, 4, 6, 2, 5, 7}, {5, 6}},
        {"block up", true, 5, {2, 3}, {0, 2, 3, 1, 4}, {1, 2}},
        {"block down", false, 5, {1, 2}, {0, 3, 1, 2, 4}, {2, 3}},
        {"top stays", true, 4, {0, 1}, {0, 1, 2, 3}, {0, 1}},
        {"last row stays", false, 4, {3}, {0, 1, 2, 3}, {3}},
        {"nothing selected", true, 3, {}, {0, 1, 2}, {}},
    };
    for (const Case& c : cases) {
        const auto result =
            c.up ? RowMoves::MoveUp(c.rows, c.selected) : RowMoves::MoveDown(c.rows, c.selected);
        EXPECT_EQ(result.order, c.order) << c.name;
        EXPECT_EQ(result.selected, c.after) << c.name;
    }
}

TEST(RowMoves, DropBeforeOrAfter)
{
    struct Case {
        Rows dragged;
        int drop;
        Rows order;
    };
    const Case cases[] = {
        {{1, 2}, 4, {0, 3, 4, 1, 2, 5}}, // from above: after the row
        {{4, 5}, 1, {0, 4, 5, 1, 2, 3}}, // from below: before it
        {{1, 3}, 2, {0, 2, 1, 3, 4, 5}}, // onto a row between them
        {{0}, -1, {1, 2, 3, 4, 5, 0}},   // outside the rows: at the end
        {{2}, 9, {0, 1, 3, 4, 5, 2}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RowMoves::Drop(6, c.dragged, c.drop).order, c.order) << c.drop;
}
