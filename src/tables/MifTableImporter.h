// MifTableImporter: a MIF table (Tbl) becomes a table of its story, at the paragraph that the
// content importer opened for it after the anchoring line.
//
// Handles: TblNumColumns; TblH / TblBody / TblF > Row (RowHeight, RowMinHeight, RowMaxHeight);
// the table format from the Tbl's own TblFormat and the TblCatalog entry of its tag
// (MifTableFormat): TblCellMargins, the title (TblTitlePlacement, TblTitleGap, TblTitleContent),
// TblSpBefore / TblSpAfter. The column widths are MifTableColumns', the rulings and shading
// MifTableRulings', the cells and their text MifTableCells'. A table that cannot be built, and a
// column width of no length, are reported with their line.
// Not used: RowWithNext, RowWithPrev, RowPlacement, TblLastBRuling, RulingPen,
// RulingSeparation.
#pragma once

#include "TableGrid.h"

#include "tables/IMifTableImporter.h"
#include "tables/MifTableCells.h"
#include "tables/MifTableColumns.h"
#include "tables/MifTableFormat.h"

class MifProblemReporter;
class MifTableRulings;

class MifTableImporter : public IMifTableImporter {
public:
    void SetMifRoot(MifObject* mifRoot) override { mMifRoot = mifRoot; }
    UID ImportTable(const UIDRef& storyRef, TablePlacement& placement) override;

private:
    void Reset();
    bool CheckTable(const MifObject& tbl, const MifProblemReporter& report) const;
    // The new table for `tbl`, at `textIndex` of `storyRef`; invalid (logged) when none was made.
    UIDRef CreateTable(const UIDRef& storyRef, int32 textIndex, const MifObject& tbl) const;
    void SizeRows(const UIDRef& table, const MifObject& tbl, const MifProblemReporter& report) const;
    void ApplyTableFormat(const UIDRef& table, MifTableRulings& rulings, double precedingSpace, double extraSpaceBefore,
                          double extraSpaceAfter, double titleGapExtra);
    void ImportTitle(const UIDRef& table, double titleGapExtra);
    void ApplySpacing(const UIDRef& table, double precedingSpace, double extraSpaceBefore, double extraSpaceAfter);
    // The cells and their text; the hinted columns take their widths from that text.
    void ImportCells(const UIDRef& table, const MifObject& tbl, MifTableRulings& rulings, const MifProblemReporter& report);

    // What follows is of the table being imported. A table imported into one of its cells starts
    // over from Reset, as any table does.
    MifObject* mMifRoot = nullptr;
    MifTableFormat mFormat;
    MifTableColumns mColumns;
    MifTableCells mCells{this};
    GridAddress mTitleCell{-1, -1};
    double mSpaceBefore = 0;
    double mSpaceAfter = 0;
};
