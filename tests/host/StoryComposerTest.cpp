#include <gtest/gtest.h>

#include <string>

#include "DataBase.h"
#include "Document.h"
#include "Story.h"
#include "StoryComposer.h"
#include "StyleUtils.h"
#include "TextFrame.h"

#include "host/StyledStory.h"

namespace {

constexpr const char* kFamily = "DejaVu Sans";

class StoryComposerTest : public ::testing::Test {
protected:
    StoryComposerTest() { StyleUtils::AddDefaultStyles(db); }

    // A story holding `text` (its final return comes with the story), set in DejaVu Sans at `size`
    // with `leading` (-1: auto).
    Story& AddStory(const std::u16string& text, PMReal size = 10, PMReal leading = 12)
    {
        return AddStyledStory(db, text, size, leading);
    }

    TextFrame& AddFrame(Story& story, PMReal width, PMReal height, TextFrame* previous = nullptr)
    {
        TextFrame& frame = *db.Create<TextFrame>();
        frame.story = story.GetUID();
        frame.pathBounds = PMRect(0, 0, width, height);
        if (previous) {
            previous->nextFrame = frame.GetUID();
            frame.previousFrame = previous->GetUID();
        }
        return frame;
    }

    void ApplyParagraph(Story& story, TextAttribute kind, AttributeValue value, int32 index = 0)
    {
        AttributeBossList attributes;
        attributes.ApplyAttribute(kind, std::move(value));
        story.textModel.ApplyAttributes(attributes, index, 1);
    }

    // The width of `text` in DejaVu Sans at `size`.
    PMReal WidthOf(const std::u16string& text, PMReal size = 10)
    {
        FontCache& fonts = composer.GetFontCache();
        return fonts.Shape(Face(), text).width * size;
    }
    const FontFaceEntry* Face() { return composer.GetFontCache().GetFace(PMString(kFamily), PMString("Book")); }

    std::vector<std::pair<int32, int32>> LinesOf(const Story& story)
    {
        std::vector<std::pair<int32, int32>> lines;
        for (const ComposedFrame& frame : story.frameList.GetFrames())
            for (const ComposedLine& line : frame.lines) lines.push_back({line.start, line.length});
        return lines;
    }

    DataBase db;
    StoryComposer composer;
};

using Lines = std::vector<std::pair<int32, int32>>;

TEST_F(StoryComposerTest, BreaksAtSpacesIntoTheColumnWidthAndStepsByTheLeading)
{
    Story& story = AddStory(u"word word word word word");
    AddFrame(story, WidthOf(u"word word") + 0.5, 200);
    composer.Compose(story);
    ASSERT_TRUE(story.frameList.IsComposed());
    EXPECT_EQ(LinesOf(story), (Lines{{0, 10}, {10, 10}, {20, 5}}));
    const auto& lines = story.frameList.GetFrames().at(0).lines;
    // The first baseline sits the ascent below the top; the others follow at the fixed leading.
    EXPECT_NEAR(lines[0].baseline, Face()->ascent * 10, 1e-6);
    EXPECT_NEAR(lines[1].baseline, lines[0].baseline + 12, 1e-6);
    EXPECT_NEAR(lines[2].baseline, lines[0].baseline + 24, 1e-6);
    // The trailing space hangs: the line is as wide as its two words.
    EXPECT_NEAR(lines[0].width, WidthOf(u"word word"), 1e-6);
    EXPECT_FALSE(story.frameList.Overflows());
    EXPECT_EQ(story.frameList.GetFrames()[0].start, 0);
    EXPECT_EQ(story.frameList.GetFrames()[0].length, 25);
    // Glyph runs carry the face and the size; the line's glyphs are its runs', one after another.
    ASSERT_FALSE(lines[0].runs.empty());
    EXPECT_EQ(lines[0].runs[0].face, Face());
    uint32 glyphCount = 0;
    for (const GlyphRun& run : lines[0].runs) {
        EXPECT_EQ(run.firstGlyph, glyphCount);
        glyphCount += run.glyphCount;
    }
    EXPECT_EQ(lines[0].runs.Glyphs().size(), glyphCount);
}

// A line composed without its glyphs is the same line, its runs where they were: it only holds
// no glyphs.
TEST_F(StoryComposerTest, LinesComposedWithoutGlyphsAreTheSameLines)
{
    Story& story = AddStory(u"one two three four five six seven eight nine ten eleven twelve\tthirteen");
    AddFrame(story, WidthOf(u"one two three") + 0.5, 200);
    composer.Compose(story);
    const std::vector<ComposedLine> with = story.frameList.GetFrames().at(0).lines;
    composer.SetKeepGlyphs(false);
    composer.Recompose(story);
    const std::vector<ComposedLine>& without = story.frameList.GetFrames().at(0).lines;
    ASSERT_GT(with.size(), 3u);
    ASSERT_EQ(without.size(), with.size());
    for (size_t l = 0; l < with.size(); ++l) {
        EXPECT_EQ(without[l].start, with[l].start);
        EXPECT_EQ(without[l].length, with[l].length);
        EXPECT_EQ(without[l].baseline, with[l].baseline);
        EXPECT_EQ(without[l].width, with[l].width);
        EXPECT_FALSE(with[l].runs.Glyphs().empty());
        EXPECT_TRUE(without[l].runs.Glyphs().empty());
        ASSERT_EQ(without[l].runs.size(), with[l].runs.size());
        for (size_t r = 0; r < with[l].runs.size(); ++r) {
            const GlyphRun& run = without[l].runs[r];
            EXPECT_EQ(run.start, with[l].runs[r].start);
            EXPECT_EQ(run.x, with[l].runs[r].x);
            EXPECT_EQ(run.width, with[l].runs[r].width);
            EXPECT_EQ(run.glyphCount, with[l].runs[r].glyphCount);
            EXPECT_TRUE(without[l].GlyphsOf(run).empty());
        }
    }
    composer.SetKeepGlyphs(true);
    composer.Recompose(story);
    EXPECT_EQ(story.frameList.GetFrames().at(0).lines.at(0).runs.Glyphs().size(), with.at(0).runs.Glyphs().size());
}

TEST_F(StoryComposerTest, ParagraphsForcedBreaksIndentsAndSpaces)
{
    // "one\ntwo\rthree": a forced break, then a second paragraph with space before, indented.
    Story& story = AddStory(u"one\ntwo\rthree");
    AddFrame(story, 300, 300);
    ApplyParagraph(story, TextAttribute::kSpaceAfter, PMReal(4), 0);
    ApplyParagraph(story, TextAttribute::kSpaceBefore, PMReal(6), 8);
    ApplyParagraph(story, TextAttribute::kLeftIndent, PMReal(20), 8);
    ApplyParagraph(story, TextAttribute::kFirstLineIndent, PMReal(10), 8);
    composer.Compose(story);
    EXPECT_EQ(LinesOf(story), (Lines{{0, 4}, {4, 4}, {8, 6}}));
    const auto& lines = story.frameList.GetFrames().at(0).lines;
    EXPECT_NEAR(lines[1].baseline - lines[0].baseline, 12, 1e-6);
    EXPECT_NEAR(lines[2].baseline - lines[1].baseline, 12 + 4 + 6, 1e-6);
    EXPECT_NEAR(lines[0].left, 0, 1e-6);
    EXPECT_NEAR(lines[2].left, 30, 1e-6);
}

TEST_F(StoryComposerTest, AutoLeadingAndTheTallestRunOfALine)
{
    // A line mixing 10 pt and 14 pt: its ascent and descent are the 14 pt run's, and auto
    // leading is 120 % of 14 pt.
    Story& story = AddStory(u"small BIG small\rnext", 10, -1);
    AttributeBossList big;
    big.ApplyAttribute(TextAttribute::kPointSize, PMReal(14));
    story.textModel.ApplyAttributes(big, 6, 3);
    AddFrame(story, 400, 400);
    composer.Compose(story);
    const ComposedLine* line = story.frameList.FindLine(0);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line, story.frameList.FindLine(7));
    EXPECT_NEAR(line->ascent, Face()->ascent * 14, 1e-6);
    EXPECT_NEAR(line->descent, Face()->descent * 14, 1e-6);
    EXPECT_NEAR(line->leading, 14 * 1.2, 1e-6);
    const ComposedLine* next = story.frameList.FindLine(16);
    ASSERT_NE(next, nullptr);
    EXPECT_NEAR(next->baseline - line->baseline, 12, 1e-6);  // 120 % of its own 10 pt
}

TEST_F(StoryComposerTest, TextFlowsThroughThreadedFramesAndColumnsThenOversets)
{
    Story& story = AddStory(u"aa aa aa aa aa aa aa aa");
    // Each column holds one word per line and two lines.
    PMReal column = WidthOf(u"aa") + 1;
    PMReal height = Face()->ascent * 10 + 12 + Face()->descent * 10 + 1;
    TextFrame& first = AddFrame(story, column * 2 + 12, height);
    first.columnCount = 2;
    first.columnGutter = 12;
    TextFrame& second = AddFrame(story, column, height, &first);
    composer.Compose(story);
    ASSERT_EQ(story.frameList.GetFrameCount(), 2);
    const ComposedFrame& a = story.frameList.GetFrames()[0];
    const ComposedFrame& b = story.frameList.GetFrames()[1];
    EXPECT_EQ(a.lines.size(), 4u);
    EXPECT_EQ(a.lines[2].column, 1);
    EXPECT_NEAR(a.lines[2].left, column + 12, 1e-6);
    EXPECT_NEAR(a.lines[2].baseline, a.lines[0].baseline, 1e-6);
    EXPECT_EQ(b.lines.size(), 2u);
    EXPECT_EQ(b.start, 12);
    EXPECT_TRUE(story.frameList.Overflows());
    EXPECT_EQ(story.frameList.GetOversetIndex(), 18);
    EXPECT_EQ(story.frameList.FindFrameOfIndex(0), first.GetUID());
    EXPECT_EQ(story.frameList.FindFrameOfIndex(13), second.GetUID());
    EXPECT_EQ(story.frameList.FindFrameOfIndex(20), kInvalidUID);  // overset
    EXPECT_EQ(story.frameList.FindLine(20), nullptr);

    // A taller last frame takes the rest (changed here outside the frame commands, which would
    // have noted it: the story is composed anew).
    second.pathBounds.bottom = 200;
    composer.Recompose(story);
    EXPECT_FALSE(story.frameList.Overflows());
    EXPECT_EQ(story.frameList.FindFrameOfIndex(23), second.GetUID());
}

TEST_F(StoryComposerTest, StartParagraphInTheNextColumnOrOnTheNextPage)
{
    Story& story = AddStory(u"one\rtwo\rthree\rfour");
    TextFrame& first = AddFrame(story, 412, 300);
    first.columnCount = 2;
    first.columnGutter = 12;
    TextFrame& second = AddFrame(story, 200, 300, &first);
    ApplyParagraph(story, TextAttribute::kStartParagraph, int32(1), 4);   // "two": next column
    ApplyParagraph(story, TextAttribute::kStartParagraph, int32(2), 8);   // "three": next page
    ApplyParagraph(story, TextAttribute::kStartParagraph, int32(1), 14);  // "four": next column, none left
    composer.Compose(story);
    const auto& a = story.frameList.GetFrames().at(0).lines;
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[1].column, 1);
    EXPECT_NEAR(a[1].baseline, a[0].baseline, 1e-6);
    EXPECT_EQ(story.frameList.FindFrameOfIndex(8), second.GetUID());
    EXPECT_TRUE(story.frameList.Overflows());
    EXPECT_EQ(story.frameList.GetOversetIndex(), 14);
}

TEST_F(StoryComposerTest, AlignmentAndTabStops)
{
    Story& story = AddStory(u"mid\ra\tb\tc\td\te 1.25");
    AddFrame(story, 300, 200);
    ApplyParagraph(story, TextAttribute::kJustification, int32(1), 0);
    TabStopTable tabs;
    tabs.Insert(TabStop{50, TabStop::kLeft, PMString(), PMString()});
    tabs.Insert(TabStop{150, TabStop::kCenter, PMString(), PMString()});
    tabs.Insert(TabStop{250, TabStop::kRight, PMString(), PMString()});
    tabs.Insert(TabStop{280, TabStop::kCharacter, PMString("."), PMString()});
    ApplyParagraph(story, TextAttribute::kTabStops, tabs, 4);
    composer.Compose(story);
    const auto& lines = story.frameList.GetFrames().at(0).lines;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NEAR(lines[0].runs[0].x, (300 - WidthOf(u"mid")) / 2, 1e-6);
    // The text runs of the second line, by their first character.
    auto runAt = [&](int32 index) -> const GlyphRun& {
        for (const GlyphRun& run : lines[1].runs)
            if (run.start == index) return run;
        ADD_FAILURE() << "no run at " << index;
        return lines[1].runs.front();
    };
    EXPECT_NEAR(runAt(6).x, 50, 1e-6);                                   // left: starts at the stop
    EXPECT_NEAR(runAt(8).x + WidthOf(u"c") / 2, 150, 1e-6);              // centre: centred on it
    EXPECT_NEAR(runAt(10).x + WidthOf(u"d"), 250, 1e-6);                 // right: ends at it
    EXPECT_NEAR(runAt(12).x + WidthOf(u"e 1"), 280, 1e-3);               // character: its "." at it
}

TEST_F(StoryComposerTest, JustifiedLinesFillTheColumnButTheLast)
{
    Story& story = AddStory(u"aa bb cc dd ee");
    PMReal column = WidthOf(u"aa bb cc") + 5;
    AddFrame(story, column, 200);
    ApplyParagraph(story, TextAttribute::kJustification, int32(4), 0);
    composer.Compose(story);
    const auto& lines = story.frameList.GetFrames().at(0).lines;
    ASSERT_EQ(lines.size(), 2u);
    // The x of the glyph of the character at `index` (one glyph a character in this text). The
    // words of one format are one run: a run ends where the formatting changes.
    ASSERT_EQ(lines[0].runs.size(), 1u);
    auto xAt = [&](const ComposedLine& line, int32 index) -> PMReal {
        for (const GlyphRun& run : line.runs)
            if (index >= run.start && index < run.start + run.length) return line.GlyphsOf(run)[static_cast<size_t>(index - run.start)].XIn(run);
        ADD_FAILURE() << "no run holds " << index;
        return 0;
    };
    EXPECT_NEAR(xAt(lines[0], 8), column, 1e-4);  // the words spread to the column's edge: "cc" ends there
    EXPECT_NEAR(xAt(lines[0], 3), WidthOf(u"aa ") + 2.5, 1e-4);
    EXPECT_NEAR(xAt(lines[1], 12), WidthOf(u"dd "), 1e-4);  // the last line keeps its spaces
}

TEST_F(StoryComposerTest, ANeverComposedStoryHoldsNoLineAndAnEditMakesTheLinesStale)
{
    Story& story = AddStory(u"text");
    AddFrame(story, 200, 200);
    EXPECT_FALSE(story.frameList.IsComposed());
    EXPECT_EQ(story.frameList.FindLine(0), nullptr);
    EXPECT_EQ(story.frameList.FindFrameOfIndex(0), kInvalidUID);
    composer.Compose(story);
    EXPECT_TRUE(story.frameList.IsCurrent(story.textModel.GetRevision()));
    story.textModel.Insert(0, u"more ");
    EXPECT_FALSE(story.frameList.IsCurrent(story.textModel.GetRevision()));
}

TEST_F(StoryComposerTest, BadFramesEndTheCompositionWithTheTextOverset)
{
    std::u16string longWord(10000, u'm');
    {   // A frame narrower than one character.
        Story& story = AddStory(u"some words here");
        AddFrame(story, 1, 500);
        composer.Compose(story);
        EXPECT_TRUE(story.frameList.Overflows());
        EXPECT_EQ(story.frameList.GetOversetIndex(), 0);
    }
    {   // Zero height, and insets larger than the frame.
        Story& story = AddStory(u"some words here");
        AddFrame(story, 300, 0);
        TextFrame& inset = AddFrame(story, 300, 300, db.Get<TextFrame>(db.GetObjects().rbegin()->first));
        inset.insets = PMRect(200, 200, 200, 200);
        composer.Compose(story);
        EXPECT_TRUE(story.frameList.Overflows());
        EXPECT_EQ(story.frameList.GetOversetIndex(), 0);
    }
    {   // No frame.
        Story& story = AddStory(u"some words here");
        composer.Compose(story);
        EXPECT_TRUE(story.frameList.Overflows());
        EXPECT_EQ(story.frameList.GetFrameCount(), 0);
        Story& empty = *db.Create<Story>();
        composer.Compose(empty);
        EXPECT_FALSE(empty.frameList.Overflows());
        // Nor does an empty story in a frame too short for its empty paragraph.
        AddFrame(empty, 300, 5);
        composer.Recompose(empty);
        EXPECT_FALSE(empty.frameList.Overflows());
        EXPECT_EQ(empty.frameList.GetFrames().at(0).lines.size(), 0u);
    }
    {   // A 10,000-character word is broken between characters to the column width.
        Story& story = AddStory(longWord);
        AddFrame(story, 100, 100000);
        composer.Compose(story);
        EXPECT_FALSE(story.frameList.Overflows());
        const auto& lines = story.frameList.GetFrames().at(0).lines;
        PMReal m = WidthOf(u"m");
        int32 perLine = static_cast<int32>(100 / m);
        ASSERT_GT(lines.size(), 10u);
        EXPECT_EQ(lines[0].length, perLine);
        for (const ComposedLine& line : lines) EXPECT_LE(line.width, 100 + 1e-6);
        EXPECT_EQ(lines.back().End(), 10001);
    }
}

TEST_F(StoryComposerTest, FacesAndWordsAreCachedAcrossLinesAndCompositions)
{
    std::u16string text;
    for (int i = 0; i < 2000; ++i) text += i % 2 ? u"lorem " : u"ipsum ";
    Story& story = AddStory(text);
    AddFrame(story, 120, 100000);
    composer.Compose(story);
    int32 loads = composer.GetFontCache().LoadedFaceCount();
    int64 shapings = composer.GetFontCache().ShapingCount();
    EXPECT_LE(shapings, 6);  // "lorem", "ipsum", their spaces, the final return's word
    composer.Compose(story);
    EXPECT_EQ(composer.GetFontCache().LoadedFaceCount(), loads);
    EXPECT_EQ(composer.GetFontCache().ShapingCount(), shapings);
    EXPECT_GT(story.frameList.GetFrames().at(0).lines.size(), 500u);
}

TEST_F(StoryComposerTest, AnEditInTheLastFrameRecomposesOnlyThatFrame)
{
    std::u16string text;
    for (int i = 0; i < 31; ++i) text += u"line\r";
    Story& story = AddStory(text + u"end");
    PMReal height = Face()->ascent * 10 + 9 * 12 + Face()->descent * 10 + 1;  // ten lines
    TextFrame* previous = nullptr;
    for (int i = 0; i < 4; ++i) previous = &AddFrame(story, 200, height, previous);
    composer.Compose(story);
    ASSERT_EQ(composer.GetLinesSet(), 32);
    const std::vector<ComposedFrame> before = story.frameList.GetFrames();
    ASSERT_EQ(before[3].lines.size(), 2u);

    // An edit in the last line of the last frame, noted as the text commands note theirs.
    int64 revision = story.textModel.GetRevision();
    int32 at = before[3].lines[1].start;
    story.textModel.Insert(at, u"the ");
    story.frameList.NoteEdit(at, revision, story.textModel.GetRevision());
    EXPECT_EQ(story.frameList.GetFirstDamagedFrame(), 3);
    composer.Compose(story);
    EXPECT_EQ(composer.GetLinesSet(), 2);
    EXPECT_EQ(story.frameList.GetFrames()[3].lines[1].length, 8);  // "the end" and the final return
    EXPECT_EQ(story.frameList.GetFrames()[2].lines.size(), before[2].lines.size());

    // An edit in the first line of a frame damages from the frame before: its last line may take
    // text back, so composition resumes there (one line of frame 1, then frames 2 and 3). An edit
    // not noted makes the next composition start over.
    revision = story.textModel.GetRevision();
    story.textModel.Insert(before[2].start, u"x");
    story.frameList.NoteEdit(before[2].start, revision, story.textModel.GetRevision());
    EXPECT_EQ(story.frameList.GetFirstDamagedFrame(), 1);
    composer.Compose(story);
    EXPECT_EQ(composer.GetLinesSet(), 13);
    story.textModel.Insert(0, u"x");
    composer.Compose(story);
    EXPECT_EQ(composer.GetLinesSet(), 32);
    EXPECT_EQ(story.frameList.GetFrames()[3].start, before[3].start + 2);
}

TEST_F(StoryComposerTest, TimesIsServedByAFaceThatMeasures)
{
    const FontFaceEntry* times = composer.GetFontCache().GetFace(PMString("Times"), PMString("Bold"));
    ASSERT_NE(times, nullptr);
    EXPECT_FALSE(times->file.empty());
    EXPECT_GT(composer.GetFontCache().Shape(times, u"Times").width, 1.0);
    EXPECT_EQ(times, composer.GetFontCache().GetFace(PMString("Times"), PMString("Bold")));
    const FontFaceEntry* unknown = composer.GetFontCache().GetFace(PMString("No Such Family Anywhere"), PMString("Regular"));
    EXPECT_TRUE(unknown->substituted);
    // Times stands in by fontconfig's own alias; the unknown family falls back to whatever is left.
    EXPECT_FALSE(times->fallback);
    EXPECT_TRUE(unknown->fallback);
    EXPECT_GT(composer.GetFontCache().Shape(unknown, u"abc").width, 0.5);
}

// Characters the run's face lacks are set in a face that has them, in runs of their own; the
// spaces between them stay with the face they follow; a character no font has keeps the run's
// face (its missing-glyph box) and is what CanDraw refuses.
TEST_F(StoryComposerTest, CharactersTheFaceLacksComeFromAFaceThatHasThem)
{
    FontCache& fonts = composer.GetFontCache();
    const FontFaceEntry* latin = Face();
    const FontFaceEntry* japanese = fonts.FaceFor(latin, U'\u65E5');
    if (!fonts.CanDraw(U'\u65E5')) GTEST_SKIP() << "no installed font has Japanese glyphs (scripts/install-deps.sh installs one)";
    ASSERT_NE(japanese, latin);
    EXPECT_TRUE(fonts.HasGlyph(japanese, U'\u65E5'));
    EXPECT_FALSE(fonts.HasGlyph(latin, U'\u65E5'));
    EXPECT_EQ(fonts.FaceFor(latin, U'a'), latin);
    EXPECT_EQ(fonts.GetCharacterFallbacks(latin), std::vector<const FontFaceEntry*>{japanese});
    EXPECT_FALSE(fonts.CanDraw(U'\U00013000'));
    EXPECT_EQ(fonts.FaceFor(latin, U'\U00013000'), latin);

    Story& story = AddStory(u"ab \u65E5\u672C \u8A9E cd \U00013000");
    AddFrame(story, 400, 100);
    composer.Compose(story);
    ASSERT_EQ(story.frameList.GetFrameCount(), 1);
    ASSERT_EQ(story.frameList.GetFrame(0).lines.size(), 1u);
    // Each character's run: letters and the hieroglyph in the Latin face, ideographs in the other.
    std::u16string latinText, japaneseText, otherText;
    const ComposedLine& line = story.frameList.GetFrame(0).lines[0];
    for (const GlyphRun& run : line.runs) {
        std::u16string text = story.textModel.GetText(run.start, run.length);
        for (char16_t c : text) {
            if (c != u' ' && c != u'\r') (run.face == japanese ? japaneseText : run.face == latin ? latinText : otherText) += c;
        }
        if (run.face == japanese) {
            for (const LineGlyph& glyph : line.GlyphsOf(run)) EXPECT_NE(glyph.id, 0u);
        }
    }
    EXPECT_EQ(japaneseText, u"\u65E5\u672C\u8A9E");
    EXPECT_EQ(latinText, u"abcd\U00013000");
    EXPECT_EQ(otherText, u"");
}

} // namespace

// Text added a paragraph at a time, composing after each as the import does, gives the lines a
// composition of the whole story gives, with space after, wrapped lines and frames filling up
// and the empty frames after the text starting where it stops.
TEST_F(StoryComposerTest, ComposingAsTextArrivesGivesTheLinesOfOneComposition)
{
    Story& story = AddStory(u"");
    ApplyParagraph(story, TextAttribute::kSpaceAfter, PMReal(5));
    TextFrame* previous = nullptr;
    for (int i = 0; i < 9; ++i) previous = &AddFrame(story, WidthOf(u"a paragraph of") + 1, 80, previous);
    for (int i = 0; i < 30; ++i) {
        int64 revision = story.textModel.GetRevision();
        const int32 at = story.textModel.TotalLength() - 1;
        std::u16string text = (i ? u"\r" : u"") + std::u16string(u"a paragraph of ") + std::u16string(i % 3 + 1, u'x');
        story.textModel.Insert(at, text);
        story.frameList.NoteEdit(at, revision, story.textModel.GetRevision());
        composer.Compose(story);
        if (i > 0) {
            EXPECT_LE(composer.GetLinesSet(), 4) << i;  // the line before and the new ones
        }
    }
    const Lines incremental = LinesOf(story);
    std::vector<PMReal> baselines;
    for (const ComposedFrame& frame : story.frameList.GetFrames())
        for (const ComposedLine& line : frame.lines) baselines.push_back(line.baseline);
    const int32 oversetIndex = story.frameList.GetOversetIndex();
    const std::vector<ComposedFrame> frames = story.frameList.GetFrames();

    composer.Recompose(story);
    EXPECT_EQ(LinesOf(story), incremental);
    std::vector<PMReal> full;
    for (const ComposedFrame& frame : story.frameList.GetFrames())
        for (const ComposedLine& line : frame.lines) full.push_back(line.baseline);
    EXPECT_EQ(full, baselines);
    EXPECT_EQ(story.frameList.GetOversetIndex(), oversetIndex);
    ASSERT_EQ(story.frameList.GetFrames().size(), frames.size());
    for (size_t f = 0; f < frames.size(); ++f) {
        EXPECT_EQ(story.frameList.GetFrames()[f].start, frames[f].start) << f;
        EXPECT_EQ(story.frameList.GetFrames()[f].length, frames[f].length) << f;
    }
    EXPECT_TRUE(story.frameList.Overflows());
}

// With hyphenation on, a word that does not fit the rest of a line gives it its first part and a
// hyphen, at a point the patterns allow; off, the word goes to the next line whole. A line broken
// at a discretionary hyphen shows one too.
TEST_F(StoryComposerTest, HyphenationBreaksWordsWhereThePatternsAllow)
{
    const std::u16string text = u"the representation";
    Story& on = AddStory(text);
    ApplyParagraph(on, TextAttribute::kHyphenation, int32(3));
    const PMReal width = WidthOf(u"the representa-") + 0.5;
    AddFrame(on, width, 200);
    composer.Compose(on);
    const auto& lines = on.frameList.GetFrames().at(0).lines;
    ASSERT_EQ(lines.size(), 2u);
    // "rep-re-sen-ta-tion": the longest prefix that fits is "representa".
    EXPECT_EQ(lines[0].length, static_cast<int32>(std::u16string(u"the representa").size()));
    EXPECT_TRUE(lines[0].hyphenated);
    ASSERT_FALSE(lines[0].runs.empty());
    EXPECT_EQ(lines[0].runs.back().length, 0);
    EXPECT_GT(lines[0].runs.back().glyphCount, 0u);
    EXPECT_LE(lines[0].width, width);
    EXPECT_FALSE(lines[1].hyphenated);

    Story& off = AddStory(text);
    AddFrame(off, width, 200);
    composer.Compose(off);
    EXPECT_EQ(LinesOf(off), (Lines{{0, 4}, {4, 15}}));
    EXPECT_FALSE(off.frameList.GetFrames().at(0).lines[0].hyphenated);

    Story& soft = AddStory(u"the repre\u00ADsentation");
    AddFrame(soft, WidthOf(u"the repre-") + 0.5, 200);
    composer.Compose(soft);
    const auto& softLines = soft.frameList.GetFrames().at(0).lines;
    ASSERT_GE(softLines.size(), 2u);
    EXPECT_EQ(softLines[0].length, 10);
    EXPECT_TRUE(softLines[0].hyphenated);
}

// A paragraph that keeps its first two lines together does not leave one of them at the foot of
// a column, nor one of its last lines alone at the top of the next, and a heading kept with the next paragraph goes to the next column with it; when the
// kept lines fill the column from its top they break where they must.
TEST_F(StoryComposerTest, KeptLinesGoToTheNextColumnTogether)
{
    const PMReal height = Face()->ascent * 10 + 2 * 12 + Face()->descent * 10 + 1;  // three lines
    Story& story = AddStory(u"one\rtwo\rthree four five\rsix");
    const PMReal width = WidthOf(u"three four") + 0.5;
    TextFrame* first = &AddFrame(story, width, height);
    AddFrame(story, width, height, first);
    ApplyParagraph(story, TextAttribute::kKeepLinesTogether, true, 8);
    ApplyParagraph(story, TextAttribute::kKeepFirstLines, int32(2), 8);
    composer.Compose(story);
    // "three four" would be the third line of the first frame, alone of its paragraph there.
    EXPECT_EQ(LinesOf(story), (Lines{{0, 4}, {4, 4}, {8, 11}, {19, 5}, {24, 4}}));
    EXPECT_EQ(story.frameList.GetFrames()[1].start, 8);

    // "two" keeps with the next paragraph: it goes along, and "one" stays alone.
    ApplyParagraph(story, TextAttribute::kKeepWithNext, int32(1), 4);
    composer.Recompose(story);
    EXPECT_EQ(story.frameList.GetFrames()[0].length, 4);
    EXPECT_EQ(story.frameList.GetFrames()[1].start, 4);

    // Keeping its last two lines together, a paragraph of four lines leaves two, not three, in a
    // column of three lines.
    Story& widow = AddStory(u"a b c d");
    TextFrame* before = &AddFrame(widow, WidthOf(u"a") + 0.5, height);
    AddFrame(widow, WidthOf(u"a") + 0.5, height, before);
    ApplyParagraph(widow, TextAttribute::kKeepLinesTogether, true);
    ApplyParagraph(widow, TextAttribute::kKeepFirstLines, int32(1));
    ApplyParagraph(widow, TextAttribute::kKeepLastLines, int32(2));
    composer.Compose(widow);
    EXPECT_EQ(widow.frameList.GetFrames()[0].lines.size(), 2u);
    EXPECT_EQ(widow.frameList.GetFrames()[1].lines.size(), 2u);

    // Kept together from the top of a column, a paragraph longer than the column still breaks.
    Story& tall = AddStory(u"a b c d e f");
    TextFrame* top = &AddFrame(tall, WidthOf(u"a") + 0.5, height);
    AddFrame(tall, WidthOf(u"a") + 0.5, height, top);
    ApplyParagraph(tall, TextAttribute::kKeepLinesTogether, true);
    ApplyParagraph(tall, TextAttribute::kKeepFirstLines, int32(9));
    composer.Compose(tall);
    EXPECT_EQ(tall.frameList.GetFrames()[0].lines.size(), 3u);
    EXPECT_FALSE(tall.frameList.Overflows());
}

// A footnote's text is set at the foot of the column that holds its marker, and the column holds
// that much less of the story; an edit of the footnote composes its frame again.
TEST_F(StoryComposerTest, FootnotesStandAtTheFootOfTheirColumn)
{
    std::u16string text = u"marked\x04";
    for (int i = 0; i < 9; ++i) text += u"\rline";
    Story& story = AddStory(text);
    const PMReal height = Face()->ascent * 10 + 9 * 12 + Face()->descent * 10 + 1;  // ten lines
    AddFrame(story, 200, height);
    Footnote& note = *db.Create<Footnote>();
    note.story = story.GetUID();
    story.textModel.SetOwnedItem(6, note.GetUID());
    TextRange thread = story.textModel.AddThread(TextThread{TextThreadKind::kFootnote, note.GetUID()});
    story.textModel.Insert(thread.start, u"The note.");
    composer.Compose(story);

    const ComposedFrame& frame = story.frameList.GetFrames().at(0);
    ASSERT_EQ(frame.footnoteLines.size(), 1u);
    const ComposedLine& noteLine = frame.footnoteLines[0];
    EXPECT_EQ(noteLine.start, thread.start);
    // The note's one line ends at the frame's foot; the body keeps above it.
    EXPECT_NEAR(noteLine.baseline + noteLine.descent, height, 1e-6);
    EXPECT_LE(frame.lines.back().baseline + frame.lines.back().descent, noteLine.baseline - noteLine.ascent + 1e-6);
    EXPECT_TRUE(story.frameList.Overflows());  // ten lines and a note do not fit ten lines' room
    EXPECT_LT(frame.lines.size(), 10u);

    // A second line of the note, noted as the text commands note it, composes the frame again.
    int64 revision = story.textModel.GetRevision();
    story.textModel.Insert(thread.start + 9, u"\rMore of it.");
    story.frameList.NoteFootnoteEdit(thread.start + 9, revision, story.textModel.GetRevision());
    EXPECT_EQ(story.frameList.GetFirstDamagedFrame(), 0);
    composer.Compose(story);
    EXPECT_EQ(story.frameList.GetFrames().at(0).footnoteLines.size(), 2u);
}
