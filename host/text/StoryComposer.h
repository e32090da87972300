// StoryComposer: the host's line composer.
//
// A paragraph is cut into words at the line-break opportunities libunibreak finds, each word into
// pieces of one character run, each piece shaped once through the font cache. Lines take words
// while they fit the column (trailing spaces may hang over), a word wider than an empty line is
// broken between characters, and a line that does not fit below the one before goes to the next
// column, then the next frame; what is left after the last frame is overset. Every step either
// sets a line of at least one character or moves on to the next column, so composition ends, in
// time linear in the story.
//
// Each stage is a class of its own: ParagraphShaper cuts and shapes a paragraph once
// (ShapedParagraph), LineBuilder builds its lines as views into it, ColumnFiller pours the lines
// into the columns that ColumnSource works out, with footnotes, tables and kept lines; a
// Composition holds them for one story and sets footnote and table cell text apart.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "FontCache.h"
#include "Hyphenator.h"
#include "TextComposer.h"
#include "UIDRef.h"

class StoryComposer : public TextComposer {
public:
    StoryComposer();
    ~StoryComposer() override;

    void Compose(Story& story) override;
    void Recompose(Story& story) override;
    std::vector<ComposedLine> ComposeParagraphAlone(Story& story, int32 index) override;
    std::vector<ComposedLine> ComposeCell(Story& story, UID cellText) override;
    void ComposeAll(DataBase& db) override;
    FontCache& GetFontCache() override { return mFonts; }
    void SetKeepGlyphs(bool keep) override { mKeepGlyphs = keep; }
    bool KeepsGlyphs() const override { return mKeepGlyphs; }
    // How many lines the last composition of a story set (the frames it resumed after keep theirs).
    int64 GetLinesSet() const { return mLinesSet; }

    // The frames that show `story`, in thread order (the first frame is the one no frame of the
    // story leads into; a thread that loops ends where it comes back).
    static std::vector<UID> GetFrameChain(const DataBase& db, UID story);

private:
    static bool CanResume(const Story& story);
    void ComposeInto(Story& story, const std::vector<UID>& frames, bool resume);

    FontCache mFonts;
    Hyphenator mHyphenator;
    int64 mLinesSet = 0;
    bool mKeepGlyphs = true;
};
