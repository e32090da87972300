// ColumnFiller: pours a story's primary thread into the columns of its threaded frames.
//
// Filling is a recipe of named steps:
//   - the resume point: composing an edited story starts at its first damaged frame, which keeps
//     its lines before the one the edit may change (a frame with footnotes or tables is set again
//     whole, from the frame where a table that goes on into it begins);
//   - lines go into the column below the line before, each paragraph after its space before and
//     the space after the paragraph before; a paragraph that starts in the next column or on the
//     next page skips there first;
//   - fitting around wraps: a line crossing an item that pushes text away is set in what the
//     item leaves free of the column, or below the item;
//   - the footnote area: the footnotes of a column's lines stand at its foot, and a line fits
//     only above them all (its own included);
//   - table placing: a table's rows go into the column of its line and the next ones, a part in
//     each, the line as deep as the first part;
//   - kept lines: a line that does not fit sends the lines its paragraph keeps with it (first
//     and last lines kept together, a paragraph kept with the next) to the next column too;
//   - finishing frames: footnotes placed, empty frames given where the text stopped, anchored
//     items placed, and the frames handed to the frame list with what was left over.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "ColumnSource.h"
#include "Composition.h"
#include "TextWrap.h"

class Table;

class ColumnFiller {
public:
    // Fills `out` with the lines of `composition`'s story: from its first damaged frame with
    // `resume` (`frames` is then not read), else from the first of `frames`.
    ColumnFiller(Composition& composition, const std::vector<UID>& frames, FrameList& out, bool resume);

    void Fill();

private:
    // The frame composition starts at, and how many of its lines it keeps.
    struct ResumePoint {
        int32 frame = 0;
        size_t keptLines = 0;
    };
    // Where the next line goes.
    struct Cursor {
        int32 pos = 0;             // its first character
        size_t column = 0;         // in mColumns
        bool columnEmpty = true;   // the column holds no line yet
        PMReal baseline = 0;       // of the line before in the column
        PMReal pendingSpaceAfter = 0;  // of the paragraph that ended on the line before
    };
    // A footnote set for the column: its marker, its lines (from a top of 0) and their depth.
    struct Note {
        int32 marker;
        PMReal height;
        std::vector<ComposedLine> lines;
    };
    // The footnotes of the lines set in column `column`, placed at its foot when composition
    // leaves it, and those of the line being set.
    struct FootnoteArea {
        std::vector<Note> notes;
        std::vector<Note> lineNotes;
        size_t column = 0;
        PMReal height = 0;  // of `notes`
    };

    static ResumePoint FindResumePoint(const FrameList& out);
    // The frame `f` of the thread.
    UID FrameAt(size_t f) const { return mResume ? mOut.GetFrameUID(static_cast<int32>(f)) : mFrames[f]; }
    // The entry of the frame `frameIndex` (of the thread) among the frames composed.
    ComposedFrame& FrameEntry(int32 frameIndex);
    // Takes over the lines the frame at the resume point keeps, and goes on after them.
    void KeepResumedLines();
    // Sets the paragraph at the cursor, loaded, from the cursor on.
    void SetParagraph();
    // Moves the cursor to where the paragraph at it must start: the next column or page.
    void SkipToParagraphStart();
    // Sets the line at the cursor in its column, or moves the cursor on to the next column;
    // false when lines kept with it went back to the next column (their paragraph is set again).
    bool SetLine();
    void NextColumn()
    {
        ++mCursor.column;
        mCursor.columnEmpty = true;
    }
    // Sets `line` (and its end `end`) across the part of `col` that the items wrapping text leave
    // free, `baseline` pushed below them when nothing fits beside them.
    void FitAroundWraps(const FrameColumn& col, ComposedLine& line, int32& end, PMReal& baseline);
    // Adds `line` to the frame `frameIndex`.
    void AddLine(int32 frameIndex, ComposedLine& line);
    // Sets `line` at `baseline` in `col`, and its footnotes at the column's foot.
    void CommitLine(const FrameColumn& col, ComposedLine& line, PMReal baseline);

    // The footnote area: places the footnotes of the column left at its foot, when the cursor
    // has gone on to another column.
    void EnterNotesColumn();
    void PlaceNotes();
    // The footnotes whose markers `line` holds, set across `col` (into mNotes.lineNotes), and
    // how deep they reach together.
    PMReal NotesOf(const ComposedLine& line, const FrameColumn& col);

    // Sets the table of `line` from the cursor's column on, a part in each column, and the line
    // in the frame of its first part, as deep as that part; false, setting nothing, when not even
    // its first rows fit below the text of the column (the table goes to the next one).
    bool PlaceTable(const Table& table, ComposedLine& line, bool firstLine);
    std::shared_ptr<const ComposedTable> ComposeTable(const Table& table);
    // The thread of the cell whose text is `text`; every thread read once, at the first table.
    TextRange CellThread(UID text);
    // Where the table stands across `col`: after the indents, placed by the paragraph's
    // alignment; every part keeps that place in its own column.
    PMReal TableOffset(const Table& table, const FrameColumn& col, bool firstLine) const;

    // Kept lines: the line at the cursor does not fit in `col`; the cursor goes on to the next
    // column with the lines kept with it. True when lines went back (the cursor is then before
    // the line).
    bool LeaveColumn(const FrameColumn& col);
    // Where the text that goes to the next column starts when the line at `pos` does not fit in
    // column `col` of `frame`: earlier than `pos` when the lines before it are kept with it
    // (a paragraph that keeps its first and last lines together and would leave fewer of them
    // on either side, a paragraph kept with the next);
    // `pos` when nothing is, or when everything in the column would have to go.
    int32 KeepBreak(const ComposedFrame& frame, const FrameColumn& col, int32 pos);
    // What the paragraph holding `index` keeps: 1 or 0 for kKeepLinesTogether, else how many
    // lines (0 without a format).
    int32 Keeps(int32 index, TextAttribute kind) const;

    // Hands the frames composed to the frame list, with what was left over.
    void FinishFrames();

    Composition& mComposition;
    const DataBase& mDB;
    const TextModel& mModel;
    ParagraphShaper& mShaper;
    const ShapedParagraph& mShaped;  // the paragraph being set
    LineBuilder& mLineBuilder;
    const std::vector<UID>& mFrames;
    FrameList& mOut;
    const bool mResume;
    const TextRange mPrimary;  // the story's own thread
    const ResumePoint mStart;
    ColumnSource mColumns;
    TextWrap mWrap;
    std::vector<ComposedFrame> mComposed;  // the frames from mStart.frame on, as composition reaches them
    Cursor mCursor;
    int32 mResumedAt = 0;  // the first character set
    size_t mLastFrameLines = 0;  // the lines of the frame a line was last added to
    FootnoteArea mNotes;
    bool mTableOverset = false;  // rows were left over after the last column
    int32 mTableOversetIndex = 0;
};
