// MifTableColumns: the widths of a table's columns. TblNumColumns and TblColumnWidth give fixed
// widths; the hints other writers give instead (TblColumnWidthA with CellAffectsColumnWidthA,
// TblColumnWidthP, TblWidth; in the Tbl or in the TblColumn statements of its own TblFormat)
// are sized as FrameMaker sizes them when it opens the file, once the cells hold their text.
#pragma once

#include <map>
#include <vector>

#include "TableGrid.h"
#include "UIDRef.h"

class MifObject;
class MifProp;
class MifProblemReporter;
class MifTableFormat;

class MifTableColumns {
public:
    // Forgets the hints of the table before.
    void Clear() { mHints.clear(); }
    // Reads the width statements of `tbl`, which has `columns` columns and sits in `story` at
    // `textIndex`.
    void Read(const MifObject& tbl, int32 columns, const UIDRef& story, int32 textIndex, const MifProblemReporter& report);
    // Gives the columns with a fixed width that width.
    void ResizeFixed(const UIDRef& table, const MifProblemReporter& report) const;
    // Sizes the shrink-wrapped and the proportional columns, from the text in their cells.
    void SizeHinted(const UIDRef& table, const MifTableFormat& format, const std::map<GridAddress, const MifObject*>& cells,
                    const MifProblemReporter& report) const;

private:
    // How the file sizes a column: a fixed width, or a hint FrameMaker turns into a width when it
    // opens the file.
    struct Hint {
        enum Kind { kNone, kFixed, kShrinkWrap, kProportional } kind = kNone;
        double width = 0;    // kFixed: the width; kShrinkWrap: the least width
        double maximum = 0;  // kShrinkWrap: the greatest width
        int32 share = 0;     // kProportional
        int32 line = 0;
    };
    static bool ReadHint(const MifProp& prop, Hint& hint);
    static void Resize(const UIDRef& table, int32 column, double width);
    // The widest text of the column's cells with their left and right insets (only the cells that
    // say CellAffectsColumnWidthA when any does); straddles and quarter-turned cells left out.
    double NaturalWidth(const UIDRef& table, int32 column, const std::map<GridAddress, const MifObject*>& cells) const;
    // The width the table's columns share: its TblWidth, else the text column at its anchor less
    // the table's indents; 0 when neither is known.
    double AvailableWidth(const MifTableFormat& format) const;

    std::vector<Hint> mHints;
    UIDRef mStory;
    int32 mTextIndex = 0;
    int32 mLine = 0;   // of the Tbl
};
