#include "Composition.h"

#include "ColumnFiller.h"

Composition::Composition(const DataBase& db, const TextModel& model, FontCache& fonts, Hyphenator& hyphenator, bool keepGlyphs)
    : mDB(db), mModel(model), mFonts(fonts), mHyphenator(hyphenator), mShaper(db, model, fonts),
      mLineBuilder(fonts, hyphenator, mShaper.Shaped(), keepGlyphs)
{
}

void Composition::Run(const std::vector<UID>& frames, FrameList& out, bool resume)
{
    ColumnFiller filler(*this, frames, out, resume);
    filler.Fill();
}

std::vector<ComposedLine> Composition::RunAlone(int32 index, const FrameColumn& col)
{
    std::vector<ComposedLine> lines;
    const TextRange primary = mModel.GetThreadRange(0);
    if (index < primary.start || index >= primary.End() || !mShaper.Load(index, primary)) return lines;
    if (col.frame != kInvalidUID) mFrame = col.frame;
    mShaper.Shape(mFrame);
    const ParagraphSettings& paragraph = mShaper.Shaped().settings;
    PMReal baseline = 0;
    for (int32 pos = paragraph.start, end = paragraph.start + paragraph.length; pos < end;) {
        ComposedLine line;
        int32 next = mLineBuilder.BuildLine(col, pos, line);
        if (next <= pos) break;  // not one character fits across the column
        baseline = lines.empty() ? col.FirstBaseline(line) : baseline + line.leading;
        line.baseline = baseline;
        lines.push_back(std::move(line));
        pos = next;
    }
    return lines;
}

std::vector<ComposedLine> Composition::SetThread(const TextRange& thread, const FrameColumn& col, PMReal& height)
{
    std::vector<ComposedLine> lines;
    height = 0;
    if (col.frame != kInvalidUID) mFrame = col.frame;
    const ParagraphSettings& paragraph = mShaper.Shaped().settings;
    PMReal baseline = 0, descent = 0, pendingSpaceAfter = 0;
    for (int32 pos = thread.start; pos < thread.End() && mShaper.Load(pos, thread);) {
        mShaper.Shape(mFrame);
        const int32 paragraphEnd = paragraph.start + paragraph.length;
        while (pos < paragraphEnd) {
            ComposedLine line;
            const bool firstLine = pos == paragraph.start;
            int32 next = mLineBuilder.BuildLine(col, pos, line);
            if (next <= pos) return lines;  // not one character fits across the column
            baseline = lines.empty() ? col.FirstBaseline(line)
                                     : baseline + line.leading + (firstLine ? pendingSpaceAfter + paragraph.spaceBefore : 0);
            pendingSpaceAfter = 0;
            line.baseline = baseline;
            descent = line.descent;
            lines.push_back(std::move(line));
            pos = next;
        }
        pendingSpaceAfter = paragraph.spaceAfter;
    }
    height = lines.empty() ? 0 : baseline + descent - col.top;
    return lines;
}

std::vector<ComposedLine> Composition::SetCellText(const TextRange& thread, PMReal width, int32 firstLineRule, PMReal& height)
{
    FrameColumn cell;
    cell.width = width;
    cell.bottom = 1e9;
    cell.firstBaseline = firstLineRule == 1   ? FirstBaselineOffset::kCapHeight
                         : firstLineRule == 2 ? FirstBaselineOffset::kLeadingOffset
                                              : FirstBaselineOffset::kAscentOffset;
    Composition setter(mDB, mModel, mFonts, mHyphenator);
    setter.SetFrame(mFrame);  // the cell's page numbers: those of the frame where its table is set
    std::vector<ComposedLine> lines = setter.SetThread(thread, cell, height);
    mLinesSet += static_cast<int64>(lines.size());
    return lines;
}

std::vector<ComposedLine> Composition::SetNoteText(const TextRange& thread, const FrameColumn& col, PMReal& height)
{
    FrameColumn noteColumn = col;
    noteColumn.top = 0;
    noteColumn.bottom = 1e9;
    noteColumn.firstBaseline = FirstBaselineOffset::kAscentOffset;
    Composition setter(mDB, mModel, mFonts, mHyphenator);
    std::vector<ComposedLine> lines = setter.SetThread(thread, noteColumn, height);
    for (ComposedLine& line : lines) line.column = col.column;
    mLinesSet += setter.LinesSet();
    return lines;
}
