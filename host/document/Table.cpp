#include "Table.h"

#include <algorithm>

GridAddress Table::AnchorOf(const GridAddress& at) const
{
    if (!IsValid(at) || !CellAt(at).covered) return at;
    // The anchor is the nearest cell up and to the left whose span reaches `at`.
    for (int32 r = at.row; r >= 0; --r)
        for (int32 c = at.column; c >= 0; --c) {
            const TableCell& cell = CellAt(GridAddress{r, c});
            if (!cell.covered && r + cell.rowSpan > at.row && c + cell.columnSpan > at.column) return GridAddress{r, c};
        }
    return at;
}

void Table::ResizeEdges(int32 insertedBefore, int32 insertedCount)
{
    const size_t columnCount = columns.size();
    const int32 oldRows = RowCount() - insertedCount;
    std::vector<TableStroke> newRowEdges, newColumnEdges;
    newRowEdges.reserve((rows.size() + 1) * columnCount);
    newColumnEdges.reserve(rows.size() * (columnCount + 1));
    for (int32 r = 0; r <= RowCount(); ++r) {
        // Inserted rows take a fresh edge above them; the old edges keep their rows.
        const bool inserted = r >= insertedBefore && r < insertedBefore + insertedCount;
        const int32 old = r < insertedBefore ? r : r - insertedCount;
        for (size_t c = 0; c < columnCount; ++c)
            newRowEdges.push_back(inserted || old > oldRows ? TableStroke{} : rowEdges[static_cast<size_t>(old) * columnCount + c]);
        if (r == RowCount()) break;
        for (size_t c = 0; c <= columnCount; ++c)
            newColumnEdges.push_back(inserted ? TableStroke{} : columnEdges[static_cast<size_t>(old) * (columnCount + 1) + c]);
    }
    rowEdges = std::move(newRowEdges);
    columnEdges = std::move(newColumnEdges);
}

PMReal Table::Width() const
{
    PMReal width = 0;
    for (const TableColumn& column : columns) width += column.width;
    return width;
}
