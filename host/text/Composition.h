// Composition: the composer's work on one story: its paragraph shaper and line builder, and the
// threads it sets whole.
//
// The story's primary thread is poured into the columns of its frames by a ColumnFiller (Run).
// A footnote's text and a table cell's text are set whole across one column, however deep, each
// by a composition of its own (so that the paragraph being set in the primary thread stays as
// it is); a paragraph may also be set alone, for text left over after the last frame.
#pragma once

#include <vector>

#include "ColumnSource.h"
#include "FrameList.h"
#include "Hyphenator.h"
#include "LineBuilder.h"
#include "ParagraphShaper.h"

class Composition {
public:
    // `keepGlyphs`: the lines keep their glyphs (LineBuilder).
    Composition(const DataBase& db, const TextModel& model, FontCache& fonts, Hyphenator& hyphenator, bool keepGlyphs = true);
    Composition(const Composition&) = delete;
    Composition& operator=(const Composition&) = delete;

    // The frame the lines set next land in: what page numbers and page-dependent variables show.
    void SetFrame(UID frame) { mFrame = frame; }
    UID GetFrame() const { return mFrame; }

    // Composes into `out`. With `resume` it goes on from where `out` was first damaged, keeping
    // the frames before and the lines of the damaged frame before the line the edit may change;
    // `frames` is then not read (the thread is the one `out` was composed into).
    void Run(const std::vector<UID>& frames, FrameList& out, bool resume);
    // How many lines the composition set: those of the primary thread it keeps, and of the table
    // cells it set.
    int64 LinesSet() const { return mLinesSet; }
    // Counts `lines` more lines set (fewer when negative: lines taken back).
    void CountLines(int64 lines) { mLinesSet += lines; }
    // The lines of the paragraph holding `index`, set alone across `col` from its top, however
    // deep it is.
    std::vector<ComposedLine> RunAlone(int32 index, const FrameColumn& col);
    // Sets a table cell's text (see TableComposer::CellSetter).
    std::vector<ComposedLine> SetCellText(const TextRange& thread, PMReal width, int32 firstLineRule, PMReal& height);
    // The lines of a footnote's text `thread` set across `col` from a top of 0, however deep,
    // and how deep they reach.
    std::vector<ComposedLine> SetNoteText(const TextRange& thread, const FrameColumn& col, PMReal& height);

    const DataBase& GetDataBase() const { return mDB; }
    const TextModel& GetModel() const { return mModel; }
    ParagraphShaper& GetShaper() { return mShaper; }
    LineBuilder& GetLineBuilder() { return mLineBuilder; }

private:
    // The lines of `thread` set across `col` from its top, however deep, and how deep they reach.
    std::vector<ComposedLine> SetThread(const TextRange& thread, const FrameColumn& col, PMReal& height);

    const DataBase& mDB;
    const TextModel& mModel;
    FontCache& mFonts;
    Hyphenator& mHyphenator;
    ParagraphShaper mShaper;
    LineBuilder mLineBuilder;  // builds the lines of mShaper's paragraph
    UID mFrame = kInvalidUID;  // the frame being set
    int64 mLinesSet = 0;
};
