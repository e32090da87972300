// MifTableImporter: a MIF table (Tbl) becomes a table of its story, at the paragraph that the
// content importer opened for it after the anchoring line.
//
// Handles: TblNumColumns, TblColumnWidth, and the hints other writers give instead
// (TblColumnWidthA with CellAffectsColumnWidthA, TblColumnWidthP, TblWidth; in the Tbl or in the
// TblColumn statements of its own TblFormat), sized as FrameMaker sizes them; TblH / TblBody / TblF > Row (RowHeight, RowMinHeight,
// RowMaxHeight) > Cell (CellRows, CellColumns, CellColor, CellFill, CellAngle, CellL/T/R/BRuling,
// CellContent through the content importer); the table format from the Tbl's own TblFormat and
// the TblCatalog entry of its tag: TblCellMargins, header/footer fill and separator ruling, body
// shading (TblShadeByColumn, periods, colors and fills), TblBlockSize, row and column rulings
// with their X variants, outer rulings, the title (TblTitlePlacement, TblTitleGap,
// TblTitleContent), TblSpBefore / TblSpAfter; the cell format its first paragraph asks for
// (PgfCellAlignment, PgfCellMargins with their Fixed flags). Rulings come from the
// RulingCatalog, or from FrameMaker's default rulings when the file has no catalog; a pen of no
// width is drawn as a hairline, and an edge that no ruling names has no stroke. The text of a cell under a straddle goes on in the straddling cell; a table that
// cannot be built, and a column width of no length, are reported with their line.
// Not used: RowWithNext, RowWithPrev, RowPlacement, TblLastBRuling, RulingPen,
// RulingSeparation.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "PMString.h"
#include "TableAttributes.h"
#include "TableGrid.h"

#include "tables/IMifTableImporter.h"

class IMifColorImporter;
class MifProp;
class Table;

class MifTableImporter : public IMifTableImporter {
public:
    void SetMifRoot(MifObject* mifRoot) override { mMifRoot = mifRoot; }
    UID ImportTable(const UIDRef& storyRef, int32 textIndex, const MifObject* tbl, double precedingSpace, double extraSpaceBefore,
                    double extraSpaceAfter, double titleGapExtra, double* outSpaceBefore, double* outSpaceAfter) override;

    // The formatting steps, on the table being imported.
    void ApplyHeaderFooterFormat(const UIDRef& table, const MifObject* tblFormat, const MifObject* catalogFormat);
    void ApplyBodyShading(const UIDRef& table, const MifObject* tblFormat, const MifObject* catalogFormat);
    void ApplyTableRulings(const UIDRef& table, const MifObject* tblFormat, const MifObject* catalogFormat);
    void ApplyCellRulings(const UIDRef& table, const MifObject& cell, int32 row, int32 column, int32 rows, int32 columns);
    // A ruling tag as a stroke, its sides left for the caller.
    CellStrokeRecord RulingToStroke(const PMString& rulingTag);
    // A MIF fill pattern as a tint percent.
    static double FillToTint(int32 fill);

private:
    using CellMap = std::map<GridAddress, const MifObject*>;

    void Reset();
    bool CheckTable(const MifObject& tbl);
    // How the file sizes a column: a fixed width, or a hint FrameMaker turns into a width when it
    // opens the file.
    struct ColumnHint {
        enum Kind { kNone, kFixed, kShrinkWrap, kProportional } kind = kNone;
        double width = 0;    // kFixed: the width; kShrinkWrap: the least width
        double maximum = 0;  // kShrinkWrap: the greatest width
        int32 share = 0;     // kProportional
        int32 line = 0;
    };
    void ReadColumnHints(const MifObject& tbl, int32 columns);
    void ResizeColumns(const UIDRef& table);
    void ResizeColumn(const UIDRef& table, int32 column, double width);
    void SizeHintedColumns(const UIDRef& table);
    // The widest text of the column's cells with their left and right insets (only the cells that
    // say CellAffectsColumnWidthA when any does); straddles and quarter-turned cells left out.
    double NaturalWidth(const UIDRef& table, int32 column) const;
    // The width the table's columns share: its TblWidth, else the text column at its anchor less
    // the table's indents; 0 when neither is known.
    double AvailableWidth() const;
    void SizeRows(const UIDRef& table, const MifObject& tbl);
    void ApplyTableFormat(const UIDRef& table, double precedingSpace, double extraSpaceBefore, double extraSpaceAfter, double titleGapExtra);
    void ImportTitle(const UIDRef& table, double titleGapExtra);
    void ApplySpacing(const UIDRef& table, double precedingSpace, double extraSpaceBefore, double extraSpaceAfter);
    void ImportCells(const UIDRef& table, const MifObject& tbl);
    void ImportCell(const UIDRef& table, const MifObject& cell, int32 row, int32 column);
    void ApplyCellParagraphFormat(const UIDRef& table, const GridAddress& cell, const MifObject& content);
    void ImportPendingParagraphs(const UIDRef& table, const Table& model);
    // Imports the paragraphs of each of `contents` into the cell, one after the other.
    void ImportCellParagraphs(const UIDRef& table, const GridAddress& cell, const std::vector<const MifObject*>& contents);
    // The cell's insets and first-line rule as its composed text asks.
    void CorrectCellFromText(const UIDRef& table, const GridAddress& cell);
    void MarkStraddle(const GridAddress& at, int32 rows, int32 columns);
    bool IsAnchorOrFree(const GridAddress& at) const;

    // Table properties: the Tbl's own TblFormat first, then the catalog format.
    const MifProp* FindTblProp(int32 id) const;
    bool GetTblInt(int32 id, int32& value) const;
    bool GetTblDim(int32 id, double& value) const;
    const PMString* GetTblString(int32 id) const;
    int32 GetTblKeyword(int32 id) const;
    // Makes `tblFormat` (with `catalogFormat` behind it) the formats the values are read from and
    // the table's None swatch the default colour; the table's model, null when it has none.
    const Table* UseFormats(const UIDRef& table, const MifObject* tblFormat, const MifObject* catalogFormat);
    UID ColorOrNone(int32 id);
    void ApplyStrokes(const UIDRef& table, const GridArea& area, const CellStrokeRecord& stroke);
    // Takes every stroke off the table's edges.
    void ClearRulings(const UIDRef& table, const Table& model);
    Table* GetTable(const UIDRef& table) const;

    MifObject* mMifRoot = nullptr;
    UIDRef mStoryRef;
    int32 mTextIndex = 0;
    std::vector<ColumnHint> mColumnHints;
    const MifObject* mTbl = nullptr;
    const MifObject* mTblFormat = nullptr;
    const MifObject* mCatalogFormat = nullptr;
    CellMap mCellMap;
    std::vector<std::pair<int32, int32>> mCellGrid;  // remaining rows below, columns to the right
    int32 mGridRows = 0;
    int32 mGridColumns = 0;
    GridAddress mTitleCell{-1, -1};
    std::vector<std::pair<GridAddress, const MifObject*>> mPending;
    double mSpaceBefore = 0;
    double mSpaceAfter = 0;
    UID mNoneSwatch = kInvalidUID;
};
