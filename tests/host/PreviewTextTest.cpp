// Converted files whose text the preview drew wrongly, checked in the composer's lines and in the
// pixels drawn: Symbol-font text in faces that really have its glyphs (in running text and in
// table cells), tab leaders, tabs in the text of cross-references, superscripts and subscripts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "FontCache.h"
#include "IImportProvider.h"
#include "ImportModes.h"
#include "PreviewWriter.h"
#include "Story.h"
#include "Table.h"
#include "TextComposer.h"

#include "host/PreviewImage.h"

namespace {

class PreviewTextTest : public ::testing::Test {
protected:
    void Open(const char* name)
    {
        UIDRef document;
        PMString message;
        const auto path = std::filesystem::path(TESSEL_TEST_DATA_DIR) / name;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        db = document.GetDataBase();
        for (UID uid : db->GetDocument()->stories)
            if (const Story* candidate = db->Get<Story>(uid); candidate && !candidate->frameList.GetFrames().empty() &&
                                                               !candidate->frameList.GetFrames().front().lines.empty())
                story = candidate;
        ASSERT_NE(story, nullptr);
    }
    void TearDown() override
    {
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    // Page 1 at 72 dpi: one pixel a point.
    void Draw()
    {
        PreviewOptions options;
        options.dpi = 72;
        std::string png;
        ASSERT_EQ(PreviewWriter::BuildPngs(*db, options, [&](int32 number, std::string_view page) {
                      if (number == 1) png = std::string(page);
                      return kSuccess;
                  }, &problems),
                  kSuccess);
        image = std::make_unique<PreviewImage>(png);
        ASSERT_TRUE(image->IsValid());
    }
    const ComposedFrame& Frame() const { return story->frameList.GetFrames().front(); }
    // The story index of the first `text` at or after `from`.
    int32 Find(const std::u16string& text, int32 from = 0) const
    {
        const std::u16string all = story->textModel.GetText(0, story->textModel.TotalLength());
        const size_t at = all.find(text, static_cast<size_t>(from));
        EXPECT_NE(at, std::u16string::npos) << PMString(text).GetUTF8String();
        return at == std::u16string::npos ? -1 : static_cast<int32>(at);
    }
    // The run of `line` that holds character `index`.
    static const GlyphRun* RunAt(const ComposedLine& line, int32 index)
    {
        for (const GlyphRun& run : line.runs)
            if (index >= run.start && index < run.start + run.length) return &run;
        return nullptr;
    }

    DataBase* db = nullptr;
    const Story* story = nullptr;
    std::vector<std::string> problems;
    std::unique_ptr<PreviewImage> image;
};

// The frame's top left corner on the page (the files' text frames stand at 72 pt, 72 pt).
constexpr int kFrameLeft = 72, kFrameTop = 72;

} // namespace

TEST_F(PreviewTextTest, SymbolText_IsSetInFacesThatHaveItsCharactersInTextAndCells)
{
    Open("symbol-text.mif");
    FontCache& fonts = TextComposer::Get().GetFontCache();
    const std::u16string symbols = u"\u03B1\u03B2\u03B3\u03C0\u2265\u221E\u2264\u2211";
    int checked = 0;
    auto check = [&](const ComposedLine& line, int32 offset) {
        for (const GlyphRun& run : line.runs) {
            const std::u16string text = story->textModel.GetText(run.start + offset, run.length);
            for (char16_t c : text) {
                if (symbols.find(c) == std::u16string::npos) continue;
                ++checked;
                // Its face really has it (the disguised map of the OpenType Symbol stand-in
                // has no Greek letter), and no glyph of the run is the missing glyph.
                EXPECT_TRUE(fonts.HasGlyph(run.face, c)) << std::hex << int(c) << " in " << run.face->file;
                for (const LineGlyph& glyph : line.GlyphsOf(run)) EXPECT_NE(glyph.id, 0u) << std::hex << int(c) << " in " << run.face->file;
            }
        }
    };
    for (const ComposedLine& line : Frame().lines) check(line, 0);
    ASSERT_EQ(Frame().tableParts.size(), 1u);
    const ComposedTablePart& part = Frame().tableParts.front();
    for (const ComposedCell& cell : part.table->cells) {
        const TextRange thread = story->textModel.FindThread(cell.text);
        for (const ComposedLine& line : cell.lines) check(line, thread.start);
    }
    EXPECT_EQ(checked, 13);   // 6 in the paragraph, 1 in the second row, 6 in the third
    // The third row's cells show ink inside them (not only their rulings).
    Draw();
    const PMReal top = part.top + part.table->rowHeights[0] + part.table->rowHeights[1];
    const PMReal bottom = top + part.table->rowHeights[2];
    for (int column = 0; column < 2; ++column) {
        const PMReal left = part.left + part.table->columnLefts[static_cast<size_t>(column)];
        const PMReal right = part.left + part.table->columnLefts[static_cast<size_t>(column) + 1];
        EXPECT_GT(image->InkIn(kFrameLeft + static_cast<int>(left) + 3, kFrameTop + static_cast<int>(top) + 2,
                               kFrameLeft + static_cast<int>(right) - 3, kFrameTop + static_cast<int>(bottom) - 2),
                  20)
            << "column " << column;
    }
    EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST_F(PreviewTextTest, TableOfContents_CrossReferenceTabsGoToTheirStopsAndLeadersFillTheRoom)
{
    XRefPlugInScope crossReferences;  // live cross-references, whose text the host writes
    Open("toc-leaders.mif");
    // Each entry, the cross-references' text and the plain ones, is one line: its number at
    // the left, its title at the left stop, its page number against the right stop; a right
    // stop past the column's end (504 pt in a column of 468) sets it against the column's end.
    FontCache& fonts = TextComposer::Get().GetFontCache();
    for (const auto& [title, right] : std::vector<std::pair<std::u16string, PMReal>>{
             {u"Introduction\t", 360}, {u"Water and its forms\t", 360}, {u"Glossary\t", 360}, {u"Index\t", 468}}) {
        SCOPED_TRACE(PMString(title).GetUTF8String());
        const int32 at = Find(title);
        const ComposedLine* line = story->frameList.FindLine(at);
        ASSERT_NE(line, nullptr);
        const TextRange paragraph = story->textModel.GetParagraphRange(at);
        EXPECT_EQ(story->frameList.FindLine(paragraph.End() - 2), line);
        const GlyphRun* titleRun = RunAt(*line, at);
        ASSERT_NE(titleRun, nullptr);
        EXPECT_NEAR(titleRun->x, 36, 0.01);
        const GlyphRun* page = RunAt(*line, paragraph.End() - 2);
        ASSERT_NE(page, nullptr);
        EXPECT_NEAR(page->x + page->width, right, 0.01);
        // The tab before the page number: the leader's dots, whole, on a grid from the column's
        // left edge, filling the room between the title and the number.
        const int32 tabIndex = at + static_cast<int32>(title.size()) - 1;
        const GlyphRun* tab = RunAt(*line, tabIndex);
        ASSERT_NE(tab, nullptr);
        ASSERT_EQ(tab->start, tabIndex);
        const ShapedText& dot = fonts.Shape(tab->face, u".");
        const PMReal step = dot.width * tab->pointSize;
        const std::span<const LineGlyph> glyphs = line->GlyphsOf(*tab);
        ASSERT_GT(glyphs.size(), 10u);
        for (const LineGlyph& glyph : glyphs) {
            EXPECT_EQ(glyph.id, dot.glyphs.front());
            EXPECT_NEAR(std::fmod(glyph.XIn(*tab) - line->origin + step / 2, step), step / 2, 1e-4);
        }
        EXPECT_GE(glyphs.front().XIn(*tab), tab->x - 1e-4);
        EXPECT_LE(glyphs.back().XIn(*tab) + step, tab->x + tab->width + 1e-4);
        EXPECT_LT(tab->x + tab->width - (glyphs.back().XIn(*tab) + step), step);
        // Drawn: dots along the baseline between the title and the page number.
        if (!image) Draw();
        const int baseline = kFrameTop + static_cast<int>(line->baseline);
        EXPECT_GT(image->InkIn(kFrameLeft + static_cast<int>(tab->x) + 4, baseline - 3,
                               kFrameLeft + static_cast<int>(tab->x + tab->width) - 4, baseline + 1),
                  static_cast<int>(glyphs.size()) / 2);
    }
    EXPECT_EQ(Find(u"1\tIntroduction\t1"), Find(u"Introduction\t") - 2);
}

TEST_F(PreviewTextTest, SuperscriptsAndSubscripts_SmallerAndRaisedOrLowered)
{
    Open("toc-leaders.mif");
    const int32 water = Find(u"H2O x2");
    const ComposedLine* line = story->frameList.FindLine(water);
    ASSERT_NE(line, nullptr);
    const GlyphRun* normal = RunAt(*line, water);
    const GlyphRun* subscript = RunAt(*line, water + 1);
    const GlyphRun* superscript = RunAt(*line, water + 5);
    ASSERT_TRUE(normal && subscript && superscript);
    EXPECT_NEAR(normal->pointSize, 36, 1e-6);
    EXPECT_NEAR(normal->rise, 0, 1e-6);
    // A new InDesign document's settings: 58.3 % of the size, a third of it up or down.
    EXPECT_NEAR(subscript->pointSize, 36 * 0.583, 1e-6);
    EXPECT_NEAR(subscript->rise, -36 * 0.333, 1e-6);
    EXPECT_NEAR(superscript->pointSize, 36 * 0.583, 1e-6);
    EXPECT_NEAR(superscript->rise, 36 * 0.333, 1e-6);
    // The line makes room for the raised and lowered glyphs; their leading is that of 36 pt.
    EXPECT_GE(line->ascent, superscript->face->ascent * superscript->pointSize + superscript->rise - 1e-6);
    EXPECT_GE(line->descent, subscript->face->descent * subscript->pointSize + 12 - 0.05);
    EXPECT_NEAR(subscript->leading, normal->leading, 1e-6);
    EXPECT_NEAR(superscript->leading, normal->leading, 1e-6);
    // Drawn: the subscript 2 reaches well below the baseline, where a digit never does; the
    // superscript 2 stays well above it.
    Draw();
    const int baseline = kFrameTop + static_cast<int>(line->baseline);
    auto columns = [&](const GlyphRun* run) {
        return std::make_pair(kFrameLeft + static_cast<int>(run->x) + 1, kFrameLeft + static_cast<int>(run->x + run->width) - 1);
    };
    const auto [subLeft, subRight] = columns(subscript);
    EXPECT_GT(image->InkIn(subLeft, baseline + 4, subRight, baseline + 10), 20);
    const auto [superLeft, superRight] = columns(superscript);
    EXPECT_EQ(image->InkIn(superLeft, baseline - 8, superRight, baseline + 2), 0);
    EXPECT_GT(image->InkIn(superLeft, baseline - 30, superRight, baseline - 12), 20);
}
