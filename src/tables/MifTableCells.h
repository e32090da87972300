// MifTableCells: the cells of a table being imported, from the Row statements of its TblH,
// TblBody and TblF: straddles (CellRows, CellColumns, cut to the table), fill and angle
// (CellColor, CellFill, CellAngle), the rulings of each cell, the cell format its first paragraph
// asks for (PgfCellAlignment, PgfCellMargins with their Fixed flags) and the text
// (CellContent, and the title's TblTitleContent) through the content importer. The text of a
// cell under a straddle goes on in the straddling cell.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "TableGrid.h"
#include "UIDRef.h"

class IPMUnknown;
class MifObject;
class MifProblemReporter;
class MifTableRulings;
class Table;

class MifTableCells {
public:
    using CellMap = std::map<GridAddress, const MifObject*>;

    // `importObject` gives the colour and content importers.
    explicit MifTableCells(const IPMUnknown* importObject) : mImportObject(importObject) {}

    // Forgets the cells of the table before.
    void Clear();
    // Imports the cells of `tbl` into `table`, whose title row (if any) starts at `titleCell`,
    // and keeps their text for ImportText; `mifRoot` gives the PgfCatalog. False (logged) when
    // the table has no model.
    bool ImportCells(const UIDRef& table, const MifObject& tbl, const GridAddress& titleCell, const MifObject* mifRoot,
                     MifTableRulings& rulings, const MifProblemReporter& report);
    // Imports the text kept for the cells, in file order; the cells that took text.
    std::vector<GridAddress> ImportText(const UIDRef& table);
    // The cell's insets and first-line rule as its composed text asks.
    void CorrectCellFromText(const UIDRef& table, const GridAddress& cell) const;
    // The cells of the table, by their place in the grid.
    const CellMap& GetCellMap() const { return mCellMap; }

private:
    void ImportCell(const UIDRef& table, const MifObject& cell, int32 row, int32 column, MifTableRulings& rulings,
                    const MifProblemReporter& report);
    void ApplyCellParagraphFormat(const UIDRef& table, const GridAddress& cell, const MifObject& content) const;
    // Imports the paragraphs of each of `contents` into the cell, one after the other.
    void ImportCellParagraphs(const UIDRef& table, const GridAddress& cell, const std::vector<const MifObject*>& contents) const;
    void MarkStraddle(const GridAddress& at, int32 rows, int32 columns);
    bool IsAnchorOrFree(const GridAddress& at) const;

    const IPMUnknown* mImportObject;
    const MifObject* mMifRoot = nullptr;
    CellMap mCellMap;
    std::vector<std::pair<int32, int32>> mCellGrid;  // remaining rows below, columns to the right
    int32 mGridRows = 0;
    int32 mGridColumns = 0;
    std::vector<std::pair<GridAddress, const MifObject*>> mPending;
};
