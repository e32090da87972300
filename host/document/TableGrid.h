// Grid addresses of tables: a cell's row and column, a span, an area (bottom and right
// exclusive) and a range of rows or columns.
#pragma once

#include <compare>

#include "PMTypes.h"

struct GridAddress {
    int32 row = 0;
    int32 column = 0;
    friend auto operator<=>(const GridAddress&, const GridAddress&) = default;
};

struct GridSpan {
    int32 rows = 1;
    int32 columns = 1;
};

struct GridArea {
    int32 top = 0;
    int32 left = 0;
    int32 bottom = 0;
    int32 right = 0;
    GridArea() = default;
    GridArea(int32 t, int32 l, int32 b, int32 r) : top(t), left(l), bottom(b), right(r) {}
    GridArea(const GridAddress& at, const GridSpan& span) : top(at.row), left(at.column), bottom(at.row + span.rows), right(at.column + span.columns) {}
    bool IsEmpty() const { return bottom <= top || right <= left; }
};

struct RowRange {
    int32 start = 0;
    int32 count = 0;
};
