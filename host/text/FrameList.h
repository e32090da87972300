// FrameList: a story's text as the composer laid it into its frames.
//
// Per frame the range of characters it holds and its lines, each with its first index, length,
// baseline, ascent and descent and the glyph runs drawn on it. Coordinates are those of the
// frame's outline (its pathBounds), y down. The list lives beside the story's text, which knows
// nothing of it; an edit damages the list from the frame that holds it.
#pragma once

#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "FontCache.h"
#include "LineRuns.h"
#include "PMGeometry.h"
#include "UIDRef.h"

struct ComposedLine {
    int32 start = 0;
    int32 length = 0;
    int32 column = 0;
    PMReal baseline = 0;
    PMReal left = 0;      // where the line starts (column left plus indents)
    PMReal origin = 0;    // where its tab stops are measured from (the column's left edge)
    PMReal width = 0;     // of its glyphs, trailing spaces left out
    PMReal ascent = 0;    // the largest of its runs
    PMReal descent = 0;
    PMReal leading = 0;   // the distance from the baseline of the line before
    bool hyphenated = false;  // ends inside a word with a hyphen (its last run, of no characters)
    LineRuns runs;        // and their glyphs
    int32 End() const { return start + length; }
    // The glyphs of its run `run`; none when it was composed without them (TextComposer::SetKeepGlyphs).
    std::span<const LineGlyph> GlyphsOf(const GlyphRun& run) const
    {
        const std::span<const LineGlyph> glyphs = runs.Glyphs();
        return glyphs.size() >= size_t(run.firstGlyph) + run.glyphCount ? glyphs.subspan(run.firstGlyph, run.glyphCount)
                                                                       : std::span<const LineGlyph>();
    }
};

// A page item anchored at character `index`, as the composer placed it: `bounds` is the box of
// the item in the frame's outline coordinates.
struct PlacedAnchor {
    int32 index = 0;
    UID item = kInvalidUID;
    PMRect bounds;
};

// The text of one table cell as set: its lines, their indexes counted from the start of the
// cell's thread (the thread moves in the story's buffer with every edit before it), their x from
// the cell's left edge and their baselines from its top.
struct ComposedCell {
    UID text = kInvalidUID;  // the CellText that owns the thread
    int32 row = 0;
    int32 column = 0;
    PMReal contentHeight = 0;  // of its lines, first ascent to last descent
    bool overset = false;      // its text is deeper than its rows
    // The cell's text turned counterclockwise by 90, 180 or 270 degrees, or 0. The lines of a
    // turned cell are those of its turned text area: x along its lines from the edge they start
    // at, baselines from the edge their tops face (the cell's left for 90, its bottom for 180,
    // its right for 270).
    int32 rotation = 0;
    PMReal contentWidth = 0;   // the widest of its lines, from the text area's start
    std::vector<ComposedLine> lines;
};

// A table as set once for all its parts: row heights, column offsets and its cells' lines.
struct ComposedTable {
    UID table = kInvalidUID;
    std::vector<PMReal> rowHeights;
    std::vector<PMReal> columnLefts;  // columns + 1 offsets from the table's left edge
    std::vector<char> joinedBelow;    // per row: it holds together with the row below
    std::vector<ComposedCell> cells;  // the cells that hold text, row by row
    std::unordered_map<UID, size_t> cellOf;  // CellText: index in `cells`
    const ComposedCell* FindCell(UID text) const
    {
        auto it = cellOf.find(text);
        return it == cellOf.end() ? nullptr : &cells[it->second];
    }
};

// The rows of a table shown in one column: the header rows (again, on a continuation), the
// body rows that fit, the footer rows. A row never splits; a row deeper than a whole column
// stands alone in it, cut at the column's foot.
struct ComposedTablePart {
    std::shared_ptr<const ComposedTable> table;
    int32 anchor = 0;        // the table's character
    int32 column = 0;        // of the frame
    PMReal left = 0;         // the table's left edge and the part's top, frame coordinates
    PMReal top = 0;
    PMReal height = 0;       // as drawn (cut at the column's foot when clipped)
    std::vector<int32> rows; // grid rows, top down
    bool continued = false;  // the table began in a column before
    bool clipped = false;
};

struct ComposedFrame {
    UID frame = kInvalidUID;
    int32 start = 0;      // the characters it holds
    int32 length = 0;
    std::vector<ComposedLine> lines;
    // The lines of the footnotes whose markers the frame's lines hold, set at the foot of their
    // column, in marker order; their indexes are those of the footnotes' own text threads.
    std::vector<ComposedLine> footnoteLines;
    // Where the page items anchored in the frame's lines stand (AnchorLayout), in anchor order.
    std::vector<PlacedAnchor> anchors;
    // The parts of tables set in the frame's columns, in text order.
    std::vector<ComposedTablePart> tableParts;
};

class FrameList {
public:
    // Whether the story has been composed since it was last damaged in full.
    bool IsComposed() const { return mComposed; }
    int32 GetFrameCount() const { return static_cast<int32>(mFrames.size()); }
    const std::vector<ComposedFrame>& GetFrames() const;
    // The frame `frame` (in thread order) and its lines, without bringing the empty frames after
    // the text up to date (for the composer, which reads frames on every edit).
    UID GetFrameUID(int32 frame) const { return mFrames[static_cast<size_t>(frame)].frame; }
    const ComposedFrame& GetFrame(int32 frame) const { return mFrames[static_cast<size_t>(frame)]; }
    // The first frame that needs composing again; -1 when none does.
    int32 GetFirstDamagedFrame() const { return mFirstDamaged; }
    // Whether text is left over after the last frame (overset text).
    bool Overflows() const { return mComposed && mOverset; }
    // Where the text left over after the last frame begins; the story's length when none is.
    int32 GetOversetIndex() const { return mOversetIndex; }
    // The frame where the text ran out: the last frame, which keeps the text left over as its
    // damage; -1 when nothing is left over (or the story was never composed).
    int32 GetOversetFrame() const { return Overflows() ? GetFrameCount() - 1 : -1; }

    // The frame whose lines hold `index`; kInvalidUID when none (not composed, or overset).
    UID FindFrameOfIndex(int32 index) const;
    // The last character a frame's lines hold; -1 when none does (or the story was never composed).
    int32 GetLastHeldIndex() const;
    // The composed line holding `index`; null when none.
    const ComposedLine* FindLine(int32 index) const;

    // Marks the list damaged from the frame whose lines an edit at `index` may change: the frame
    // of the line before the line holding `index` (an edit may let that line take more text); the
    // last frame that holds text when no frame holds the index.
    void Damage(int32 index);
    // Notes an edit at `index` that took the text from revision `before` to `after`: when the
    // lines were current before it, they are damaged from the edit on and the rest stays good;
    // otherwise the list stays stale and is composed anew.
    void NoteEdit(int32 index, int64 before, int64 after);
    // Notes an edit at `index` in the text of a footnote: the frame that shows the footnote is
    // composed again.
    void NoteFootnoteEdit(int32 index, int64 before, int64 after);
    // The table `table` as last set, and the frame (in thread order) of its first part; null
    // and -1 when it was not set.
    const ComposedTable* FindTable(UID table, int32* frame = nullptr) const;
    // Notes a change to table `table` (its rows, cells or a cell's text) that took the text from
    // revision `before` to `after` (equal for changes to the table alone): the frame where the
    // table begins is composed again. A table not set yet lies in text that is damaged already
    // or overset.
    void NoteTableEdit(UID table, int64 before, int64 after);
    // Marks it damaged in full, as a story never composed.
    void Reset();
    // Notes `frame` threaded on after the last frame: it gets an entry that holds nothing, and
    // text left over is damaged from the last frame that holds text, so that the next
    // composition goes on from there instead of starting over. False, changing nothing, when the
    // list is not composed (the next composition walks the thread anew).
    bool AppendFrame(UID frame);
    // Drops the entry of the last frame (taken out of the thread) when it holds no lines; false,
    // changing nothing, when it holds some or the list has no frame.
    bool RemoveLastEmptyFrame();
    // The first character an edit since the last composition touched; the story's length or more
    // when none did.
    int32 GetDamagedIndex() const { return mDamagedIndex; }

    // The text revision the lines answer for.
    int64 GetRevision() const { return mRevision; }
    // Whether the lines were composed from the text as it is at `revision` (TextModel::GetRevision).
    bool IsCurrent(int64 revision) const { return mComposed && mRevision == revision && mFirstDamaged < 0; }

    // Set by the composer.
    void SetComposed(std::vector<ComposedFrame> frames, bool overset, int32 oversetIndex, int64 revision);
    // The lines of frame `frame`, moved out (the composer takes the lines it keeps when it
    // resumes; the frame is set again by SetComposedFrom).
    std::vector<ComposedLine> TakeLines(int32 frame);
    // Set by the composer when it resumed at frame `first`: `tail` replaces the frames from
    // `first` up to `first + tail.size()`; the frames after those hold nothing and start at
    // `emptyStart`.
    void SetComposedFrom(int32 first, std::vector<ComposedFrame> tail, int32 emptyStart, bool overset, int32 oversetIndex,
                         int64 revision);

private:
    int32 LastFilledBefore(int32 frame) const;
    // The set part of `table` in frame `f`; null when that frame shows none.
    const ComposedTable* TableIn(int32 f, UID table) const;
    // Adds the tables of frames [from, to) to the index (a table keeps its first frame), or takes
    // out those whose first frame is among them.
    void IndexTables(size_t from, size_t to);
    void UnindexTables(size_t from, size_t to);
    // The last frame before `end` that shows lines or a table part; -1 when none does.
    int32 LastShownBefore(int32 end) const;

    // The frames from mEmptyFrom on hold nothing and start at mEmptyStart; their entries are
    // brought up to date when the frames are read, so that an edit near the end of a story in
    // the first of a thousand frames does not visit the other 999.
    mutable std::vector<ComposedFrame> mFrames;
    // The first frame that shows each table, so that a table edit finds its frame at once in a
    // story of thousands of tables.
    std::unordered_map<UID, int32> mTableFrames;
    mutable size_t mEmptyFrom = 0;
    int32 mEmptyStart = 0;
    int32 mLastFilled = -1;  // the last frame that holds lines
    int32 mLastShown = -1;   // the last frame that holds lines or table parts
    bool mComposed = false;
    bool mOverset = false;
    int32 mOversetIndex = 0;
    int32 mFirstDamaged = 0;
    int32 mDamagedIndex = 0;
    int64 mRevision = -1;
};
