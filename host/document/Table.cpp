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
    const int32 at = insertedBefore, end = insertedBefore + insertedCount;
    std::vector<TableStroke> newRowEdges, newColumnEdges;
    newRowEdges.reserve((rows.size() + 1) * columnCount);
    newColumnEdges.reserve(rows.size() * (columnCount + 1));
    // Inserted rows take the stroke of the edge where they go in, above, between and below them,
    // and the strokes between their cells from the row beside them.
    const int32 beside = std::clamp(at < oldRows ? at : at - 1, 0, std::max(0, oldRows - 1));
    for (int32 r = 0; r <= RowCount(); ++r) {
        const int32 oldEdge = r < at ? r : r <= end ? at : r - insertedCount;
        for (size_t c = 0; c < columnCount; ++c) newRowEdges.push_back(rowEdges[static_cast<size_t>(oldEdge) * columnCount + c]);
        if (r == RowCount()) break;
        const int32 oldRow = r < at ? r : r < end ? beside : r - insertedCount;
        for (size_t c = 0; c <= columnCount; ++c)
            newColumnEdges.push_back(oldRows > 0 ? columnEdges[static_cast<size_t>(oldRow) * (columnCount + 1) + c] : TableStroke{});
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

bool Table::FindCell(UID text, GridAddress& at) const
{
    const size_t columnCount = columns.size();
    if (text == kInvalidUID || columnCount == 0) return false;
    auto found = [&](size_t i) {
        if (i >= cells.size() || cells[i].text != text || cells[i].covered) return false;
        at = GridAddress{static_cast<int32>(i / columnCount), static_cast<int32>(i % columnCount)};
        return true;
    };
    if (auto it = mCellOfText.find(text); it != mCellOfText.end() && found(it->second)) return true;
    mCellOfText.clear();
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i].text != kInvalidUID) mCellOfText[cells[i].text] = i;
    auto it = mCellOfText.find(text);
    return it != mCellOfText.end() && found(it->second);
}
