// TextComposer: lays a story's text into the columns of its threaded frames.
//
// The result is the story's frame list (Story::frameList): per frame the characters it holds and
// its composed lines. Nothing else in the host or the plug-in breaks lines.
#pragma once

#include <vector>

#include "FrameList.h"

class DataBase;
class FontCache;
class Story;

class TextComposer {
public:
    virtual ~TextComposer() = default;
    // Composes the story into its frames, from the first damaged frame of its frame list on (the
    // whole story when it was never composed or its text changed unnoticed since); nothing when
    // its lines are current.
    virtual void Compose(Story& story) = 0;
    // Composes the story anew from its first frame (its frames may have changed size or place).
    virtual void Recompose(Story& story) = 0;
    // The lines the paragraph holding `index` takes when set alone in a column as wide as the
    // last column of the story's frames (for text left over after them); none without a frame.
    virtual std::vector<ComposedLine> ComposeParagraphAlone(Story& story, int32 index) = 0;
    // The lines of the table cell whose text `cellText` owns, set across the cell's width less its
    // insets as its table sets them (indexes from the start of the cell's thread, x from the
    // cell's left edge, baselines from its top); none for a cell of no table. Sets that one cell
    // only, whatever the state of the story's lines.
    virtual std::vector<ComposedLine> ComposeCell(Story& story, UID cellText) = 0;
    // Composes every story of the document (one walk over its frames for all of them).
    virtual void ComposeAll(DataBase& db) = 0;
    // The fonts and shaped words it measures with.
    virtual FontCache& GetFontCache() = 0;
    // Whether the lines it composes keep their glyphs and where each stands, which only drawing
    // the pages reads: a conversion that draws no page turns it off, and a book's lines then
    // take a fraction of the memory. They are the same lines otherwise. On until turned off.
    virtual void SetKeepGlyphs(bool keep) = 0;
    virtual bool KeepsGlyphs() const = 0;

    // The session's composer, with the font cache that all documents share.
    static TextComposer& Get();
};
