// MifTablePlacer: the content importer's part for tables. An ATbl anchor records its Tbl with
// the text index; when the paragraph is whole, each table is placed after the line that holds
// its anchor, in a paragraph of its own formatted from the table format, and built there by the
// table importer. A table wider than a column of a frame of two or more columns goes across them
// in a frame of its own (MifStraddleFrames).
#pragma once

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "PMTypes.h"
#include "UIDRef.h"

#include "tables/TablePlacement.h"

class IMifTableImporter;
class MifContentImporter;
class MifObject;
class MifProp;

class MifTablePlacer {
public:
    explicit MifTablePlacer(MifContentImporter& importer) : mImporter(importer) {}

    // Forgets the tables of the file before.
    void Reset();
    // Indexes the Tbls by TblID; a Tbl whose TblID an earlier one has can never be placed, and
    // is reported with the text it holds.
    void IndexTables();
    // The table of an ATbl is recorded with the text index and placed after the paragraph.
    void RecordAnchor(const MifProp& prop);
    // The tables anchored in the paragraph follow the lines that hold their anchors.
    void PlaceAnchors();
    // The anchors recorded in the paragraph move with the text: `length` characters deleted at
    // `index`, or inserted at `at` (the anchors there go after them).
    void TextDeleted(int32 index, int32 length);
    void TextInserted(int32 at, int32 length);

private:
    void PlaceTable(const MifObject& tbl, int32 index, bool first, bool last);
    // The placement of `tbl` at `index`, read from the anchoring paragraph and the table format.
    TablePlacement ReadPlacement(const MifObject& tbl, int32 index, bool first, bool last) const;
    // The table's paragraph after a return at the anchor, and the text after the anchoring line
    // in a paragraph of its own; false (nothing left inserted) when the returns cannot go in.
    bool OpenTableParagraph(TablePlacement& placement);
    // The paragraph before the table, the table's own and the one after it.
    void FormatParagraphs(const TablePlacement& placement);
    // The table importer builds the table in its paragraph; kInvalidUID when it could not.
    UID ImportTable(IMifTableImporter& tableImporter, TablePlacement& placement);
    // A table wider than its column allows after the indents moves left as far as it must.
    void FitIntoColumn(const TablePlacement& placement, UID table);
    // The text after the table goes on at the story's end.
    void ContinueAfter(const TablePlacement& placement, bool frameBelow);
    // Runs `insert`, which puts text at `at` of the story, the text index standing there while it
    // runs; afterwards the text index is back where it was, moved by what was inserted when it
    // was at or after `at`. Whether `insert` succeeded.
    template <class Insert>
    bool InsertAt(int32 at, Insert insert);
    // A table wider than a column plus the gap of the frame of two or more columns that holds
    // `index`, its indents on its aligned sides counted in.
    bool IsWideTable(const MifObject& tbl, int32 index, int32 alignment, double leftIndent, double rightIndent) const;
    bool CloseWideTable(int32 tableParagraph, double spaceBefore, bool split);

    MifContentImporter& mImporter;
    // The Tbls by TblID (the first of an ID: the one its anchor places); the tables anchored in
    // the current paragraph, with the text index of each anchor; and the TblIDs placed so far (a
    // table is placed once).
    std::unordered_map<int32, const MifObject*> mTblsById;
    std::vector<const MifObject*> mPendingTables;
    std::vector<int32> mPendingTableIndexes;
    std::unordered_set<int32> mPlacedTables;
};
