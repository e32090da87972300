#include "ColumnFiller.h"

#include <algorithm>
#include <cmath>

#include "AnchorLayout.h"
#include "Table.h"
#include "TableComposer.h"

namespace {

constexpr PMReal kEpsilon = 1e-6;

} // namespace

// SetLine and the steps it takes run for every line, so they are defined inline: a member function
// of a class the library exports is otherwise called through its PLT and never inlined.

ColumnFiller::ColumnFiller(Composition& composition, const std::vector<UID>& frames, FrameList& out, bool resume)
    : mComposition(composition), mDB(composition.GetDataBase()), mModel(composition.GetModel()), mShaper(composition.GetShaper()),
      mShaped(mShaper.Shaped()), mLineBuilder(composition.GetLineBuilder()), mFrames(frames), mOut(out), mResume(resume),
      mPrimary(mModel.GetThreadRange(0)), mStart(resume ? FindResumePoint(out) : ResumePoint{}),
      mColumns(mDB, resume ? static_cast<size_t>(out.GetFrameCount()) : frames.size(), [this](size_t f) { return FrameAt(f); },
               static_cast<size_t>(mStart.frame)),
      mWrap(mDB)
{
}

void ColumnFiller::Fill()
{
    mCursor.pos = mPrimary.start;
    if (mResume) KeepResumedLines();
    mResumedAt = mCursor.pos;
    mNotes.column = mCursor.column;
    while (mCursor.pos < mPrimary.End() && mColumns.At(mCursor.column) && mShaper.Load(mCursor.pos, mPrimary)) SetParagraph();
    PlaceNotes();  // those of the last column set
    FinishFrames();
}

ColumnFiller::ResumePoint ColumnFiller::FindResumePoint(const FrameList& out)
{
    // Where composition starts: the damaged frame, less the lines of it that the edit cannot
    // change (all before the line before the edit's: that one may take text from the next).
    ResumePoint start;
    int32& first = start.frame;
    first = std::clamp(out.GetFirstDamagedFrame(), 0, std::max(0, out.GetFrameCount() - 1));
    // A table that goes on from the frame before is set again from the frame where it begins.
    while (first > 0 && !out.GetFrame(first).tableParts.empty() && out.GetFrame(first).tableParts.front().continued) --first;
    const std::vector<ComposedLine>& lines = out.GetFrame(first).lines;
    auto holding = std::upper_bound(lines.begin(), lines.end(), out.GetDamagedIndex(),
                                    [](int32 index, const ComposedLine& line) { return index < line.End(); });
    start.keptLines = static_cast<size_t>(std::max<std::ptrdiff_t>(0, (holding - lines.begin()) - 1));
    // Footnotes are placed when their column is left: a frame with some is set again whole.
    if (!out.GetFrame(first).footnoteLines.empty()) start.keptLines = 0;
    // So is one that shows a table (its parts may reach into the frames after).
    if (!out.GetFrame(first).tableParts.empty()) start.keptLines = 0;
    return start;
}

inline ComposedFrame& ColumnFiller::FrameEntry(int32 frameIndex)
{
    size_t at = static_cast<size_t>(frameIndex - mStart.frame);
    while (mComposed.size() <= at) {
        ComposedFrame entry;
        entry.frame = FrameAt(static_cast<size_t>(mStart.frame) + mComposed.size());
        mComposed.push_back(std::move(entry));
    }
    return mComposed[at];
}

void ColumnFiller::KeepResumedLines()
{
    const int32 first = mStart.frame;
    const ComposedFrame& old = mOut.GetFrame(first);
    mCursor.pos = old.start;
    if (mStart.keptLines == 0) return;
    ComposedFrame& entry = FrameEntry(first);
    entry.start = old.start;
    entry.lines = mOut.TakeLines(first);
    entry.lines.resize(mStart.keptLines);
    const ComposedLine& last = entry.lines.back();
    entry.length = last.End() - entry.start;
    mCursor.pos = last.End();
    mCursor.column = mColumns.FirstOfFrame(first, 0) + static_cast<size_t>(last.column);
    mCursor.baseline = last.baseline;
    mCursor.columnEmpty = false;
    // The paragraph before goes on, or ended on the kept line with its space after.
    const int32 pos = mCursor.pos;
    if (pos > mPrimary.start && mModel.GetParagraphRange(pos).start == pos)
        if (const TextFormat* before = mModel.GetParagraphFormat(pos - 1))
            mCursor.pendingSpaceAfter =
                std::max<PMReal>(0, ParagraphShaper::ParagraphValue<PMReal>(mDB, *before, TextAttribute::kSpaceAfter, 0));
}

void ColumnFiller::SetParagraph()
{
    const ParagraphSettings& paragraph = mShaped.settings;
    mComposition.SetFrame(mColumns.At(mCursor.column)->frame);
    mShaper.Shape(mComposition.GetFrame());
    const int32 paragraphEnd = paragraph.start + paragraph.length;
    if (mCursor.pos == paragraph.start && !mCursor.columnEmpty) SkipToParagraphStart();
    while (mCursor.pos < paragraphEnd && mColumns.At(mCursor.column))
        if (!SetLine()) return;  // the lines kept together are set again in the next column
    if (mCursor.pos >= paragraphEnd) mCursor.pendingSpaceAfter = paragraph.spaceAfter;
}

void ColumnFiller::SkipToParagraphStart()
{
    // A paragraph that starts in the next column goes on past the column's text; one that
    // starts on the next page, past the frame's (a frame stands on one page).
    const int32 startParagraph = mShaped.settings.startParagraph;
    if (startParagraph == 1) {
        NextColumn();
    } else if (startParagraph >= 2) {
        mCursor.column = mColumns.FirstOfFrame(mColumns.At(mCursor.column)->frameIndex + 1, mCursor.column);
        mCursor.columnEmpty = true;
    }
}

inline bool ColumnFiller::SetLine()
{
    const FrameColumn& col = *mColumns.At(mCursor.column);
    const ParagraphSettings& paragraph = mShaped.settings;
    const int32 pos = mCursor.pos;
    const bool firstLine = pos == paragraph.start;
    mComposition.SetFrame(col.frame);
    // Page numbers show the page of the frame the line lands in: the paragraph's values are
    // resolved again when it goes on in another frame.
    if (mShaper.ShowsOtherPage(col.frame)) mShaper.Shape(col.frame);
    ComposedLine line;
    int32 end = mLineBuilder.BuildLine(col, pos, line);
    if (end <= pos) {  // not one character fits across this column
        NextColumn();
        return true;
    }
    // A table's line: its rows go into this column and the next ones, unless not even its first
    // rows fit below the text here.
    bool tableFits = true;
    if (const Table* table = TableComposer::FindTable(mDB, mModel, line.start, line.End())) {
        tableFits = PlaceTable(*table, line, firstLine);
        if (tableFits) {
            mCursor.pos = end;
            return true;
        }
    }
    AnchorLayout::ReserveSpace(mDB, mModel, line);  // a line anchoring items holds them
    PMReal lineBaseline = mCursor.columnEmpty ? col.FirstBaseline(line)
                                              : mCursor.baseline + line.leading +
                                                    (firstLine ? mCursor.pendingSpaceAfter + paragraph.spaceBefore : 0);
    FitAroundWraps(col, line, end, lineBaseline);
    EnterNotesColumn();
    // The line's footnotes stand at the foot of its column with those before them: the line
    // fits only above them all, unless it is the column's first (the notes then reach below).
    PMReal noteHeight = NotesOf(line, col);
    PMReal bottom = col.bottom - mNotes.height - noteHeight;
    if (mCursor.columnEmpty && lineBaseline + line.descent <= col.bottom + kEpsilon) bottom = std::max(bottom, lineBaseline + line.descent);
    if (!tableFits || lineBaseline + line.descent > bottom + kEpsilon) return !LeaveColumn(col);  // no room below: next column
    CommitLine(col, line, lineBaseline);
    mCursor.pos = end;
    return true;
}

inline void ColumnFiller::FitAroundWraps(const FrameColumn& col, ComposedLine& line, int32& end, PMReal& baseline)
{
    // Text wrap: a line crossing an item that pushes text away is set in what the item leaves
    // free of the column, or below the item when nothing fits there.
    const std::vector<PMRect>& wrapBoxes = mWrap.Of(col.frame);
    PMReal setLeft = col.left, setRight = col.left + col.width;
    for (int32 tries = 0; !wrapBoxes.empty() && tries < 8; ++tries) {
        PMReal left = col.left, right = col.left + col.width, below = baseline;
        if (!TextWrap::Narrow(wrapBoxes, baseline - line.ascent, baseline + line.descent, left, right, below)) {
            left = col.left;
            right = col.left + col.width;
        }
        if (std::abs(left - setLeft) < kEpsilon && std::abs(right - setRight) < kEpsilon) break;
        FrameColumn beside = col;
        beside.left = left;
        beside.width = right - left;
        ComposedLine besideLine;
        const int32 besideEnd = beside.width > kEpsilon ? mLineBuilder.BuildLine(beside, mCursor.pos, besideLine) : mCursor.pos;
        if (besideEnd <= mCursor.pos) {
            baseline = std::max(baseline + kEpsilon, below + line.ascent);
            continue;
        }
        AnchorLayout::ReserveSpace(mDB, mModel, besideLine);
        line = std::move(besideLine);
        end = besideEnd;
        setLeft = left;
        setRight = right;
    }
}

inline void ColumnFiller::AddLine(int32 frameIndex, ComposedLine& line)
{
    ComposedFrame& frame = FrameEntry(frameIndex);
    if (frame.lines.empty()) {
        frame.start = line.start;
        // Frames of a thread mostly hold as many lines as the one before: room for them at once.
        frame.lines.reserve(mLastFrameLines);
    }
    frame.length = line.End() - frame.start;
    frame.lines.push_back(std::move(line));
    mLastFrameLines = frame.lines.size();
    mComposition.CountLines(1);
}

inline void ColumnFiller::CommitLine(const FrameColumn& col, ComposedLine& line, PMReal baseline)
{
    line.baseline = baseline;
    mCursor.baseline = baseline;
    mCursor.columnEmpty = false;
    for (Note& note : mNotes.lineNotes) {
        mNotes.height += note.height;
        mNotes.notes.push_back(std::move(note));
    }
    mNotes.lineNotes.clear();
    mCursor.pendingSpaceAfter = 0;
    AddLine(col.frameIndex, line);
}

inline void ColumnFiller::EnterNotesColumn()
{
    if (mCursor.column == mNotes.column) return;
    PlaceNotes();
    mNotes.column = mCursor.column;
}

void ColumnFiller::PlaceNotes()
{
    const FrameColumn* col = mColumns.At(mNotes.column);
    if (mNotes.notes.empty() || !col) {
        mNotes.notes.clear();
        mNotes.height = 0;
        return;
    }
    ComposedFrame& frame = FrameEntry(col->frameIndex);
    PMReal y = col->bottom - mNotes.height;
    for (Note& note : mNotes.notes) {
        for (ComposedLine& line : note.lines) {
            line.baseline += y;
            frame.footnoteLines.push_back(std::move(line));
        }
        y += note.height;
    }
    mNotes.notes.clear();
    mNotes.height = 0;
}

inline PMReal ColumnFiller::NotesOf(const ComposedLine& line, const FrameColumn& col)
{
    std::vector<Note>& lineNotes = mNotes.lineNotes;
    lineNotes.clear();
    // Every character of every line is looked at: the paragraph's text is read in place (setting
    // a footnote changes nothing of it).
    const UTF16TextChar* chars = mShaped.text.data();
    const int32 start = mShaped.settings.start, end = line.End();
    for (int32 i = line.start; i < end; ++i) {
        if (chars[i - start] != kTextChar_FootnoteMarker) continue;
        TextRange thread = mModel.FindThread(mModel.GetOwnedItem(i));
        if (thread.length <= 0 || thread.start == mPrimary.start) continue;
        Note note{i, 0, {}};
        note.lines = mComposition.SetNoteText(thread, col, note.height);
        if (!note.lines.empty()) lineNotes.push_back(std::move(note));
    }
    PMReal height = 0;
    for (const Note& note : lineNotes) height += note.height;
    return height;
}

bool ColumnFiller::PlaceTable(const Table& table, ComposedLine& line, bool firstLine)
{
    const FrameColumn* col = mColumns.At(mCursor.column);
    const int32 lineStart = line.start;
    PMReal top = mCursor.columnEmpty ? col->top
                                     : mCursor.baseline + line.descent + std::max<PMReal>(0, table.spaceBefore) +
                                           (firstLine ? mCursor.pendingSpaceAfter + mShaped.settings.spaceBefore : 0);
    EnterNotesColumn();
    std::shared_ptr<const ComposedTable> composed = ComposeTable(table);
    const int32 bodyEnd = std::max(table.headerRowCount, table.RowCount() - table.footerRowCount);
    const PMReal offset = TableOffset(table, *col, firstLine);
    int32 next = 0;
    bool firstPart = true;
    PMReal partBottom = top;
    while (true) {
        TableComposer::Fit fit = TableComposer::FitRows(table, *composed, next, col->bottom - mNotes.height - top, mCursor.columnEmpty);
        if (!fit.rows.empty() || next >= bodyEnd) {
            ComposedTablePart part;
            part.table = composed;
            part.anchor = lineStart;
            part.column = col->column;
            part.left = col->left + offset;
            part.top = top;
            part.height = fit.height;
            part.rows = std::move(fit.rows);
            part.continued = !firstPart;
            part.clipped = fit.clipped;
            partBottom = top + fit.height;
            if (firstPart) {
                // The table's line: as deep as its first part, its baseline below it.
                line.baseline = partBottom;
                line.ascent = fit.height;
                line.leading = mCursor.columnEmpty ? fit.height : partBottom - mCursor.baseline;
                line.left = part.left;
                line.descent = std::max<PMReal>(0, table.spaceAfter);
                line.width = table.Width();
                AddLine(col->frameIndex, line);
            }
            FrameEntry(col->frameIndex).tableParts.push_back(std::move(part));
            firstPart = false;
            mCursor.columnEmpty = false;
            if (next >= bodyEnd) break;
        } else if (firstPart) {
            return false;  // the whole table goes to the next column
        }
        // The rest of the table: the next column, from its top.
        NextColumn();
        col = mColumns.At(mCursor.column);
        if (!col) {  // the rest is overset, and the text after it
            mTableOverset = true;
            mTableOversetIndex = lineStart;
            break;
        }
        EnterNotesColumn();
        top = col->top;
    }
    mCursor.baseline = partBottom;
    mCursor.pendingSpaceAfter = 0;
    return true;
}

std::shared_ptr<const ComposedTable> ColumnFiller::ComposeTable(const Table& table)
{
    return TableComposer::Compose(
        mDB, mModel, table,
        [this](const TextRange& thread, PMReal width, int32 rule, PMReal& height) {
            return mComposition.SetCellText(thread, width, rule, height);
        },
        [this](UID text) { return CellThread(text); });
}

TextRange ColumnFiller::CellThread(UID text)
{
    // The text model remembers where each thread is: a story of many tables composed table by
    // table must not gather every cell's thread for each one.
    TextRange thread = mModel.FindThread(text);
    return thread.length > 0 && mModel.GetThread(thread.start).kind == TextThreadKind::kCell ? thread : TextRange{};
}

PMReal ColumnFiller::TableOffset(const Table& table, const FrameColumn& col, bool firstLine) const
{
    const ParagraphSettings& paragraph = mShaped.settings;
    const PMReal indent = paragraph.leftIndent + (firstLine ? paragraph.firstLineIndent : 0);
    const PMReal avail = col.width - indent - paragraph.rightIndent;
    PMReal offset = indent;
    if (paragraph.justification == 1) offset += std::max<PMReal>(0, avail - table.Width()) / 2;
    else if (paragraph.justification == 2) offset += std::max<PMReal>(0, avail - table.Width());
    return offset;
}

bool ColumnFiller::LeaveColumn(const FrameColumn& col)
{
    // Lines the paragraph keeps together, or keeps with the line that does not fit, go to the
    // next column with it, unless they fill this column from its top.
    const int32 pos = mCursor.pos;
    int32 moveFrom = mCursor.columnEmpty ? pos : KeepBreak(FrameEntry(col.frameIndex), col, pos);
    NextColumn();
    if (moveFrom >= pos) return false;
    ComposedFrame& frame = FrameEntry(col.frameIndex);
    while (!frame.lines.empty() && frame.lines.back().start >= moveFrom) {
        frame.lines.pop_back();
        mComposition.CountLines(-1);
    }
    while (!frame.tableParts.empty() && frame.tableParts.back().anchor >= moveFrom) frame.tableParts.pop_back();
    while (!mNotes.notes.empty() && mNotes.notes.back().marker >= moveFrom) {
        mNotes.height -= mNotes.notes.back().height;
        mNotes.notes.pop_back();
    }
    frame.length = frame.lines.empty() ? 0 : frame.lines.back().End() - frame.start;
    mCursor.pos = moveFrom;
    return true;
}

int32 ColumnFiller::Keeps(int32 index, TextAttribute kind) const
{
    const TextFormat* format = mModel.GetParagraphFormat(index);
    if (!format) return int32(0);
    if (kind == TextAttribute::kKeepLinesTogether)
        return ParagraphShaper::ParagraphValue<bool>(mDB, *format, kind, false) ? int32(1) : int32(0);
    return ParagraphShaper::ParagraphValue<int32>(mDB, *format, kind, 0);
}

int32 ColumnFiller::KeepBreak(const ComposedFrame& frame, const FrameColumn& col, int32 pos)
{
    // The lines of the column, in `frame.lines` from `first` on.
    const int32 column = col.column;
    size_t first = frame.lines.size();
    while (first > 0 && frame.lines[first - 1].column == column) --first;
    if (first == frame.lines.size()) return pos;
    const int32 columnStart = frame.lines[first].start;
    const ParagraphSettings& current = mShaped.settings;  // the paragraph being set
    int32 breakAt = pos;
    for (int guard = 0; guard < 64; ++guard) {
        const TextRange paragraph = mModel.GetParagraphRange(breakAt > 0 ? breakAt : 0);
        if (breakAt > paragraph.start) {
            // The paragraph breaks here: with fewer first lines in this column than it keeps
            // together, it goes whole.
            if (paragraph.start < columnStart) break;  // it began in an earlier column
            if (!Keeps(paragraph.start, TextAttribute::kKeepLinesTogether)) break;
            int32 linesBefore = 0;
            for (size_t l = first; l < frame.lines.size(); ++l)
                if (frame.lines[l].start >= paragraph.start && frame.lines[l].start < breakAt) ++linesBefore;
            const int32 keepFirst = Keeps(paragraph.start, TextAttribute::kKeepFirstLines);
            if (linesBefore >= keepFirst && breakAt == pos && paragraph.start == current.start) {
                // Enough first lines stay: the last lines it keeps together must go along too.
                // Count the lines the rest of the paragraph takes across this column.
                const int32 keepLast = Keeps(paragraph.start, TextAttribute::kKeepLastLines);
                int32 remaining = 0;
                for (int32 at = pos, end = current.start + current.length; at < end && remaining < keepLast; ++remaining) {
                    ComposedLine probe;
                    int32 next = mLineBuilder.BuildLine(col, at, probe);
                    if (next <= at) break;
                    at = next;
                }
                if (remaining >= keepLast) break;
                // Lines of this column go with them, as long as the first lines keep their number.
                const int32 moving = keepLast - remaining;
                if (linesBefore - moving < keepFirst) {
                    breakAt = paragraph.start;
                } else {
                    size_t l = frame.lines.size() - static_cast<size_t>(moving);
                    breakAt = frame.lines[l].start;
                    break;
                }
            } else if (linesBefore >= keepFirst) {
                break;
            } else {
                breakAt = paragraph.start;
            }
        }
        // The paragraph starts the text that goes: the paragraph before it may keep with it.
        if (breakAt <= columnStart || breakAt <= mPrimary.start) break;
        if (Keeps(breakAt - 1, TextAttribute::kKeepWithNext) <= 0) break;
        // Its last line goes along.
        size_t l = frame.lines.size();
        while (l > first && frame.lines[l - 1].start >= breakAt) --l;
        if (l == first) break;
        breakAt = frame.lines[l - 1].start;
    }
    // Moving the whole column would only move the problem on.
    return breakAt <= columnStart ? pos : breakAt;
}

void ColumnFiller::FinishFrames()
{
    if (!mResume && !mFrames.empty()) FrameEntry(static_cast<int32>(mFrames.size()) - 1);  // every frame has its entry
    // Frames that hold nothing start where the text stopped.
    int32 at = mResumedAt;
    for (ComposedFrame& frame : mComposed) {
        if (frame.lines.empty()) frame.start = at;
        else at = frame.start + frame.length;
    }
    for (ComposedFrame& frame : mComposed) AnchorLayout::PlaceAnchors(mDB, mModel, frame);
    const int32 pos = mCursor.pos;
    bool composedAll = pos >= mPrimary.End() && !mTableOverset;
    int32 oversetIndex = composedAll ? mPrimary.End() : mTableOverset ? mTableOversetIndex : pos;
    // An empty story (its final return alone) has nothing to leave over, whatever its frames.
    bool overset = (!composedAll && mPrimary.length > 1) || mTableOverset;
    if (mResume) mOut.SetComposedFrom(mStart.frame, std::move(mComposed), at, overset, oversetIndex, mModel.GetRevision());
    else mOut.SetComposed(std::move(mComposed), overset, oversetIndex, mModel.GetRevision());
}
