// Table: a table of a story, anchored at a table character that sits alone in its paragraph
// (as InDesign keeps tables), with its rows, columns, cells and the strokes between them.
//
// Rows are counted from 0: header rows first, then body rows, then footer rows. Every cell of the
// grid has its own text: a thread of the story owned by the cell's CellText. A merged cell is the
// anchor of its span; the cells it covers keep no text and are drawn and written as part of it.
// Strokes belong to the edges of the grid, so two neighbours share the stroke between them:
// horizontal edges (rows + 1) x columns, vertical edges rows x (columns + 1).
#pragma once

#include <unordered_map>
#include <vector>

#include "DocObject.h"
#include "PMTypes.h"
#include "TableGrid.h"

// Stroke types of cell edges.
constexpr int32 kStrokeTypeSolid = 0x5A29;
constexpr int32 kStrokeTypeDouble = 0xB004;
constexpr int32 kStrokeTypeNone = 0x1040C;

struct TableStroke {
    PMReal weight = 1.0;
    UID color = kInvalidUID;   // the document's Black when kInvalidUID
    PMReal tint = 100.0;
    int32 type = kStrokeTypeSolid;
    friend bool operator==(const TableStroke&, const TableStroke&) = default;
};

struct TableRow {
    PMReal height = 12.0;      // the fixed height, or the height the new table gave it
    PMReal minHeight = 3.0;
    PMReal maxHeight = 1000.0;
    bool autoGrow = true;      // grows with its content between min and max; else fixed
    int32 keepWithNext = 0;
};

struct TableColumn {
    PMReal width = 36.0;
};

struct TableCell {
    UID text = kInvalidUID;    // the CellText that owns the cell's thread; none for covered cells
    int32 rowSpan = 1;
    int32 columnSpan = 1;
    bool covered = false;      // part of a merged cell anchored above or left of it
    PMReal insets[4] = {4.0, 4.0, 4.0, 4.0};  // left, top, right, bottom
    UID fillColor = kInvalidUID;               // none set
    PMReal fillTint = -1;                      // none set
    PMReal rotation = 0;                       // degrees: 0, 90, 180, 270
    int32 firstLineRule = 0;                   // 0 ascent, 1 cap height, 2 leading offset
    int32 verticalJustification = 0;           // 0 top, 1 middle, 2 bottom
};

// Alternating fills of the body, by rows or by columns.
struct TableAlternatingFill {
    UID firstColor = kInvalidUID;
    UID nextColor = kInvalidUID;
    int32 firstCount = 0;
    int32 nextCount = 0;
    PMReal firstTint = 100.0;
    PMReal nextTint = 100.0;
};

class Table : public DocObject {
public:
    UID story = kInvalidUID;
    int32 headerRowCount = 0;
    int32 footerRowCount = 0;
    std::vector<TableRow> rows;
    std::vector<TableColumn> columns;
    std::vector<TableCell> cells;          // rows x columns, row by row
    std::vector<TableStroke> rowEdges;     // (rows + 1) x columns: the top edges of each row, then the bottom of the last
    std::vector<TableStroke> columnEdges;  // rows x (columns + 1)
    PMReal spaceBefore = 4.0;
    PMReal spaceAfter = -4.0;
    int32 alternatingPattern = -1;         // -1 none, 0 by rows, 1 by columns
    TableAlternatingFill rowFill;
    TableAlternatingFill columnFill;

    int32 RowCount() const { return static_cast<int32>(rows.size()); }
    int32 ColumnCount() const { return static_cast<int32>(columns.size()); }
    int32 BodyRowCount() const { return RowCount() - headerRowCount - footerRowCount; }
    bool IsValid(const GridAddress& at) const { return at.row >= 0 && at.column >= 0 && at.row < RowCount() && at.column < ColumnCount(); }
    GridArea GetTotalArea() const { return GridArea{0, 0, RowCount(), ColumnCount()}; }
    GridArea GetHeaderArea() const { return GridArea{0, 0, headerRowCount, ColumnCount()}; }
    GridArea GetBodyArea() const { return GridArea{headerRowCount, 0, RowCount() - footerRowCount, ColumnCount()}; }
    GridArea GetFooterArea() const { return GridArea{RowCount() - footerRowCount, 0, RowCount(), ColumnCount()}; }

    TableCell& CellAt(const GridAddress& at) { return cells[Index(at)]; }
    const TableCell& CellAt(const GridAddress& at) const { return cells[Index(at)]; }
    // The edge above row `row` (row == RowCount(): below the last) in column `column`.
    TableStroke& RowEdge(int32 row, int32 column) { return rowEdges[static_cast<size_t>(row) * columns.size() + static_cast<size_t>(column)]; }
    const TableStroke& RowEdge(int32 row, int32 column) const
    {
        return rowEdges[static_cast<size_t>(row) * columns.size() + static_cast<size_t>(column)];
    }
    // The edge left of column `column` (column == ColumnCount(): right of the last) in row `row`.
    TableStroke& ColumnEdge(int32 row, int32 column) { return columnEdges[static_cast<size_t>(row) * (columns.size() + 1) + static_cast<size_t>(column)]; }
    const TableStroke& ColumnEdge(int32 row, int32 column) const
    {
        return columnEdges[static_cast<size_t>(row) * (columns.size() + 1) + static_cast<size_t>(column)];
    }
    // The anchor of the merged cell that covers `at` (`at` itself for a plain cell).
    GridAddress AnchorOf(const GridAddress& at) const;
    // Rebuilds the edge arrays after `insertedCount` rows were added before row `insertedBefore`,
    // keeping the strokes of the rows that were there.
    void ResizeEdges(int32 insertedBefore, int32 insertedCount);
    PMReal Width() const;
    // The address of the cell (not covered) whose text is `text`; false when no cell's is. In
    // constant time for a table whose cells keep their texts (the places are remembered and
    // checked on use).
    bool FindCell(UID text, GridAddress& at) const;

private:
    size_t Index(const GridAddress& at) const { return static_cast<size_t>(at.row) * columns.size() + static_cast<size_t>(at.column); }
    mutable std::unordered_map<UID, size_t> mCellOfText;
};

// The owner of one cell's text thread.
class CellText : public DocObject {
public:
    UID table = kInvalidUID;
};
