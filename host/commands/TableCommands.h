// The table commands: make a table at a text position, resize its rows or columns, and the
// table-commands facade (TableCommands) that changes a table's attributes, strokes, merged cells
// and rows. Each fails with kInvalidParameterError, changing nothing, when the table or the area
// is not what it works on.
#pragma once

#include "DocCommand.h"
#include "TableAttributes.h"
#include "TableGrid.h"

class Table;

// Makes a table at `textIndex` of the story the item list names: a table character is inserted
// there (the table's paragraph should hold nothing else) and anchors the new table, whose cells
// each get a thread of one empty paragraph at the end of the story. Rows share `height` and
// columns share `width` (each at least a sensible minimum). Afterwards the item list names the
// table.
class NewTableCmd : public DocCommand {
public:
    NewTableCmd() { SetName("New Table"); }
    int32 textIndex = 0;
    int32 headerRows = 0;
    int32 bodyRows = 1;
    int32 footerRows = 0;
    int32 columns = 1;
    PMReal height = 0;
    PMReal width = 0;
    int32 cellContentClass = 0xB665;  // text cells
    int32 extra = 0;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets the rows (or columns) of `rowColumnRangeData` of the table the item list names to
// `realNumberData` points; a resized row becomes that height.
class ResizeRowsCmd : public DocCommand {
public:
    ResizeRowsCmd() { SetName("Resize Rows"); }
    PMReal realNumberData = 0;
    RowRange rowColumnRangeData;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

class ResizeColumnsCmd : public DocCommand {
public:
    ResizeColumnsCmd() { SetName("Resize Columns"); }
    PMReal realNumberData = 0;
    RowRange rowColumnRangeData;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// The changes to one table, each a result code.
class TableCommands {
public:
    enum InsertPosition { eBefore, eAfter };

    explicit TableCommands(const UIDRef& table) : mTable(table) {}
    bool IsValid() const { return GetTable() != nullptr; }

    ErrorCode ApplyTableOverrides(const TableAttributeList& attributes);
    ErrorCode ApplyRowOverrides(const RowRange& rows, const TableAttributeList& attributes);
    ErrorCode ApplyCellOverrides(const GridArea& area, const TableAttributeList& attributes);
    ErrorCode ApplyCellStrokes(const GridArea& area, const CellStrokeRecord& stroke);
    // Merges the area into its top-left cell; the text of the cells it covers is appended to
    // that cell's. Fails when the area leaves the grid or cuts through a merged cell.
    ErrorCode MergeCells(const GridArea& area);
    // Inserts `rows.count` rows of `height` before (or after) row `rows.start`; a row inserted
    // at the row count goes at the end. The new rows belong to the section of the row they
    // stand beside (the body when the table had no such row).
    ErrorCode InsertRows(const RowRange& rows, InsertPosition position, PMReal height);
    // Makes the first (last) rows of the table header (footer) rows: `rows` must start at the
    // table's first body row (end at its last).
    ErrorCode ConvertToHeaderRows(const RowRange& rows);
    ErrorCode ConvertToFooterRows(const RowRange& rows);

private:
    Table* GetTable() const;
    // Tells the story's lines that the table changed; `before` is the text's revision before the
    // change when it added or removed text (cells), -1 when the text is the same.
    void Damage(int64 before = -1) const;
    UIDRef mTable;
};

// Removes the tables among `items` (anchored in `story`, whose text they leave), their cells'
// threads and cell objects with them.
class Story;
void RemoveTables(DataBase& db, Story& story, const std::vector<UID>& items);
