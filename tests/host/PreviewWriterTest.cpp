// The page preview: what it draws where (read back from its PNG images), its PDF pages, the
// colours of swatches, and what it says when it cannot draw something.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "FrameList.h"
#include "PreviewColors.h"
#include "PreviewImage.h"
#include "PreviewWriter.h"
#include "Story.h"
#include "StoryComposer.h"
#include "StyleUtils.h"
#include "SwatchUtils.h"
#include "TestDocument.h"
#include "TextFrame.h"
#include "TextModel.h"
#include "TextVariable.h"

namespace {

constexpr const char* kFamily = "DejaVu Sans";
const std::u16string kText = u"Every line of this paragraph is drawn where the composer set it, glyph by glyph.";

class PreviewWriterTest : public ::testing::Test {
protected:
    explicit PreviewWriterTest(bool facing = false) : doc(300, 200, facing)
    {
        SwatchUtils::AddDefaultSwatches(doc.DB());
        StyleUtils::AddDefaultStyles(doc.DB());
    }

    DataBase& DB() { return doc.DB(); }

    Story& AddStory(const std::u16string& text, PMReal size = 12)
    {
        Story& story = *DB().Create<Story>();
        doc.Doc().stories.push_back(story.GetUID());
        story.textModel.Insert(0, text);
        AttributeBossList attributes;
        attributes.ApplyAttribute(TextAttribute::kFontFamily, DocFontMgr::GetFontFamilyUID(DB(), kFamily));
        attributes.ApplyAttribute(TextAttribute::kFontStyle, PMString("Book"));
        attributes.ApplyAttribute(TextAttribute::kPointSize, size);
        story.textModel.ApplyAttributes(attributes, 0, story.textModel.TotalLength());
        return story;
    }

    void SetColor(Story& story, UID swatch)
    {
        AttributeBossList attributes;
        attributes.ApplyAttribute(TextAttribute::kFillColor, swatch);
        story.textModel.ApplyAttributes(attributes, 0, story.textModel.TotalLength());
    }

    // A frame of `story` on page `pageIndex` of `spread`, its top left corner at (x, y) on the page.
    TextFrame& AddFrame(Spread& spread, size_t pageIndex, Story& story, PMRect box)
    {
        const Page& page = doc.PageOf(spread, pageIndex);
        TextFrame& frame = *DB().Create<TextFrame>();
        frame.story = story.GetUID();
        frame.spread = spread.GetUID();
        frame.itemTransform = PMMatrix::Translation(page.boundsInSpread.left + box.left, page.boundsInSpread.top + box.top);
        frame.pathBounds = PMRect(0, 0, box.Width(), box.Height());
        spread.pageItems.push_back(frame.GetUID());
        return frame;
    }

    // Every page as a PNG image, one point a pixel unless `options` say otherwise.
    std::vector<std::string> Pngs(PreviewOptions options = {72, false}, ErrorCode expected = kSuccess)
    {
        composer.ComposeAll(DB());
        std::vector<std::string> images;
        ErrorCode status = PreviewWriter::BuildPngs(DB(), options, [&](int32 number, std::string_view png) {
            EXPECT_EQ(number, static_cast<int32>(images.size() + 1));
            images.emplace_back(png);
            return kSuccess;
        }, &problems);
        EXPECT_EQ(status, expected);
        return images;
    }

    TestDocument doc;
    StoryComposer composer;
    std::vector<std::string> problems;
};

class FacingPreviewTest : public PreviewWriterTest {
protected:
    FacingPreviewTest() : PreviewWriterTest(true) {}
};

int InkOutside(const PreviewImage& image, const PMRect& box)
{
    int inside = image.InkIn(static_cast<int>(box.left) - 1, static_cast<int>(box.top) - 1, static_cast<int>(box.right) + 1,
                             static_cast<int>(box.bottom) + 1);
    return image.InkIn(0, 0, image.Width(), image.Height()) - inside;
}

} // namespace

TEST_F(PreviewWriterTest, Png_InkOnTheLinesAndNowhereElse)
{
    Spread& spread = doc.AddSpread(1);
    Story& story = AddStory(kText);
    const PMRect box(40, 30, 240, 150);
    AddFrame(spread, 0, story, box);
    std::vector<std::string> images = Pngs();
    ASSERT_EQ(images.size(), 1u);
    PreviewImage image(images[0]);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(image.Width(), 300);
    EXPECT_EQ(image.Height(), 200);
    const ComposedFrame& frame = story.frameList.GetFrames().at(0);
    ASSERT_GE(frame.lines.size(), 2u);
    PMReal lastBottom = 0;
    for (const ComposedLine& line : frame.lines) {
        SCOPED_TRACE(line.start);
        int left = static_cast<int>(box.left + line.left), right = static_cast<int>(box.left + line.left + line.width);
        int top = static_cast<int>(box.top + line.baseline - line.ascent), bottom = static_cast<int>(box.top + line.baseline + line.descent) + 1;
        EXPECT_GT(image.InkIn(left, top, right, bottom), 20);
        // Nothing right of the line's text (above the descenders of the line before it).
        EXPECT_EQ(image.InkIn(right + 2, static_cast<int>(box.top + line.baseline - line.ascent / 2), static_cast<int>(box.right), bottom), 0);
        lastBottom = box.top + line.baseline + line.descent;
    }
    EXPECT_EQ(image.InkIn(static_cast<int>(box.left), static_cast<int>(lastBottom) + 2, static_cast<int>(box.right),
                          static_cast<int>(box.bottom)), 0);
    EXPECT_EQ(InkOutside(image, box), 0);
    EXPECT_TRUE(problems.empty());
}

// Items on hidden layers, and items beside the page, are not drawn; the page is paper white.
TEST_F(PreviewWriterTest, Png_LeavesOutHiddenLayersAndThePasteboard)
{
    Spread& spread = doc.AddSpread(1);
    Layer& hidden = doc.AddLayer("Hidden");
    hidden.visible = false;
    AddFrame(spread, 0, AddStory(kText), PMRect(20, 20, 200, 100)).layer = hidden.GetUID();
    AddFrame(spread, 0, AddStory(kText), PMRect(320, 20, 500, 100));  // right of the page
    std::vector<std::string> images = Pngs();
    ASSERT_EQ(images.size(), 1u);
    PreviewImage image(images[0]);
    EXPECT_EQ(image.InkIn(0, 0, image.Width(), image.Height()), 0);
    int r, g, b;
    image.Pixel(5, 5, r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
}

TEST_F(PreviewWriterTest, Png_TextInItsSwatchAndTint)
{
    Spread& spread = doc.AddSpread(1);
    Swatch* red = SwatchUtils::AddSwatch(DB(), PMString("Warm Red"), SwatchKind::kProcess, 0, 1, 1, 0);
    Swatch& tint = *DB().Create<Swatch>();
    tint.kind = SwatchKind::kTint;
    tint.base = red->GetUID();
    tint.tint = 50;
    Story& solid = AddStory(u"MMMMMMMM", 24);
    SetColor(solid, red->GetUID());
    Story& pale = AddStory(u"MMMMMMMM", 24);
    SetColor(pale, tint.GetUID());
    AddFrame(spread, 0, solid, PMRect(10, 10, 290, 50));
    AddFrame(spread, 0, pale, PMRect(10, 100, 290, 140));
    std::vector<std::string> images = Pngs();
    ASSERT_EQ(images.size(), 1u);
    PreviewImage image(images[0]);
    // The darkest pixels of each frame: full red, and red mixed half with the paper.
    auto darkest = [&](int top, int bottom) {
        int best[3] = {255, 255, 255};
        for (int y = top; y < bottom; ++y)
            for (int x = 10; x < 290; ++x) {
                int c[3];
                image.Pixel(x, y, c[0], c[1], c[2]);
                if (c[1] < best[1]) std::copy(c, c + 3, best);
            }
        return std::vector<int>(best, best + 3);
    };
    std::vector<int> full = darkest(10, 50), half = darkest(100, 140);
    EXPECT_GE(full[0], 250);
    EXPECT_LE(full[1], 5);
    EXPECT_LE(full[2], 5);
    EXPECT_GE(half[0], 250);
    EXPECT_NEAR(half[1], 128, 6);
    EXPECT_NEAR(half[2], 128, 6);
}

TEST_F(PreviewWriterTest, Png_FramesOutlinedAndOversetMarked)
{
    Spread& spread = doc.AddSpread(1);
    const PMRect overset(20, 20, 120, 40), fits(150, 20, 290, 180);
    AddFrame(spread, 0, AddStory(kText + kText), overset);
    AddFrame(spread, 0, AddStory(u"Short."), fits);
    auto redIn = [](const PreviewImage& image, const PMRect& box) {
        return image.Count(static_cast<int>(box.right) - 12, static_cast<int>(box.bottom) - 12, static_cast<int>(box.right) + 1,
                           static_cast<int>(box.bottom) + 1, [&](int x, int y) { return image.IsRed(x, y); });
    };
    {
        std::vector<std::string> plain = Pngs();
        PreviewImage image(plain.at(0));
        EXPECT_EQ(redIn(image, overset), 0);
        EXPECT_EQ(image.InkIn(static_cast<int>(fits.left) - 1, static_cast<int>(fits.bottom) - 5, static_cast<int>(fits.right) + 1,
                              static_cast<int>(fits.bottom) + 1), 0);
    }
    std::vector<std::string> marked = Pngs({72, true});
    PreviewImage image(marked.at(0));
    EXPECT_GT(redIn(image, overset), 10);
    EXPECT_EQ(redIn(image, fits), 0);
    // The outline runs along the bottom edge of the frame that fits.
    EXPECT_GT(image.InkIn(static_cast<int>(fits.left) + 5, static_cast<int>(fits.bottom) - 1, static_cast<int>(fits.right) - 5,
                          static_cast<int>(fits.bottom) + 1), 100);
}

// A two-page master: its left page's items show on left pages, its right page's on right pages,
// beneath the page's own items; a master it is based on shows beneath it.
TEST_F(FacingPreviewTest, Png_MasterItemsOfThePageSide)
{
    MasterSpread& parent = doc.AddMaster("P", "Parent", 2);
    MasterSpread& master = doc.AddMaster("A", "Master", 2, &parent);
    Spread& first = doc.AddSpread(1, 0);   // a lone right page
    Spread& second = doc.AddSpread(2, 1);  // left and right
    for (Spread* spread : {&first, &second})
        for (UID uid : spread->pages) DB().Get<Page>(uid)->appliedMaster = master.GetUID();
    const PMRect leftBox(20, 20, 140, 60), rightBox(160, 20, 280, 60), parentBox(20, 120, 280, 180);
    AddFrame(master, 0, AddStory(u"Left header"), leftBox);
    AddFrame(master, 1, AddStory(u"Right header"), rightBox);
    AddFrame(parent, 1, AddStory(u"From the parent master"), parentBox);
    std::vector<std::string> images = Pngs();
    ASSERT_EQ(images.size(), 3u);
    auto ink = [](const PreviewImage& image, const PMRect& box) {
        return image.InkIn(static_cast<int>(box.left), static_cast<int>(box.top), static_cast<int>(box.right), static_cast<int>(box.bottom));
    };
    PreviewImage right1(images[0]), left2(images[1]), right2(images[2]);
    EXPECT_GT(ink(right1, rightBox), 20);
    EXPECT_EQ(ink(right1, leftBox), 0);
    EXPECT_GT(ink(right1, parentBox), 20);
    EXPECT_GT(ink(left2, leftBox), 20);
    EXPECT_EQ(ink(left2, rightBox), 0);
    EXPECT_EQ(ink(left2, parentBox), 0);
    EXPECT_GT(ink(right2, rightBox), 20);
    EXPECT_EQ(ink(right2, leftBox), 0);
}

// A face whose file cannot be loaded: its runs are left out, said once; the rest is drawn.
TEST_F(PreviewWriterTest, Png_FaceThatCannotBeLoaded)
{
    Spread& spread = doc.AddSpread(1);
    Story& story = AddStory(u"abcdef");
    TextFrame& frame = AddFrame(spread, 0, story, PMRect(0, 0, 300, 200));
    FontCache fonts;
    const FontFaceEntry* good = fonts.GetFace(PMString(kFamily), PMString("Book"));
    const ShapedText& shaped = fonts.Shape(good, u"ab");
    FontFaceEntry broken;
    broken.family = PMString("Broken Sans");
    broken.file = "/nonexistent/BrokenSans.ttf";
    ComposedLine line;
    line.length = 6;
    line.baseline = 50;
    std::vector<LineGlyph> lineGlyphs;
    auto run = [&lineGlyphs](const FontFaceEntry* face, int32 start, PMReal x, std::span<const uint32> glyphs) {
        GlyphRun glyphRun;
        glyphRun.start = start;
        glyphRun.length = 2;
        glyphRun.face = face;
        glyphRun.pointSize = 20;
        glyphRun.firstGlyph = static_cast<uint32>(lineGlyphs.size());
        glyphRun.glyphCount = static_cast<uint32>(glyphs.size());
        glyphRun.x = x;
        for (size_t g = 0; g < glyphs.size(); ++g) lineGlyphs.push_back(LineGlyph{glyphs[g], 12 * static_cast<float>(g)});
        return glyphRun;
    };
    const std::vector<uint32> brokenGlyphs{5, 6};
    const std::vector<GlyphRun> runs{run(&broken, 0, 10, brokenGlyphs), run(good, 2, 110, shaped.glyphs), run(&broken, 4, 210, brokenGlyphs)};
    line.runs = LineRuns(runs, lineGlyphs);
    ComposedFrame composed;
    composed.frame = frame.GetUID();
    composed.length = 6;
    composed.lines = {line};
    story.frameList.SetComposed({composed}, false, 6, story.textModel.GetRevision());
    std::vector<std::string> images;
    ASSERT_EQ(PreviewWriter::BuildPngs(DB(), {72, false}, [&](int32, std::string_view png) {
        images.emplace_back(png);
        return kSuccess;
    }, &problems), kSuccess);
    ASSERT_EQ(images.size(), 1u);
    PreviewImage image(images[0]);
    EXPECT_EQ(image.InkIn(0, 20, 100, 60), 0);
    EXPECT_GT(image.InkIn(100, 20, 200, 60), 20);
    EXPECT_EQ(image.InkIn(200, 20, 300, 60), 0);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "the font file /nonexistent/BrokenSans.ttf (face 0, for Broken Sans) cannot be loaded; its text is not drawn");
}

// A sink that fails stops the preview with its error.
TEST_F(PreviewWriterTest, Png_SinkFailureStops)
{
    doc.AddSpread(1);
    doc.AddSpread(1);
    int calls = 0;
    EXPECT_EQ(PreviewWriter::BuildPngs(DB(), {}, [&](int32, std::string_view) { return ++calls == 1 ? kIOWriteError : kSuccess; }, nullptr),
              kIOWriteError);
    EXPECT_EQ(calls, 1);
}

TEST_F(PreviewWriterTest, Pdf_OnePagePerPageOfItsSize)
{
    doc.AddSpread(1);
    Spread& wide = doc.AddSpread(1);
    Page& page = doc.PageOf(wide, 0);
    page.width = 500;
    page.height = 250;
    SpreadLayout::Arrange(DB(), wide);
    AddFrame(wide, 0, AddStory(kText), PMRect(20, 20, 480, 230));
    composer.ComposeAll(DB());
    std::string pdf;
    ASSERT_EQ(PreviewWriter::BuildPdf(DB(), {}, &pdf, &problems), kSuccess);
    ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_EQ(CountPdfPages(pdf), 2);
    EXPECT_NE(pdf.find("/MediaBox [ 0 0 300 200 ]"), std::string::npos);
    EXPECT_NE(pdf.find("/MediaBox [ 0 0 500 250 ]"), std::string::npos);
    // The text's face is embedded.
    EXPECT_NE(pdf.find("DejaVuSans"), std::string::npos);
}

TEST_F(PreviewWriterTest, NoPages_IsRefused)
{
    std::string pdf;
    EXPECT_EQ(PreviewWriter::BuildPdf(DB(), {}, &pdf, nullptr), kInvalidParameterError);
    EXPECT_EQ(PreviewWriter::BuildPngs(DB(), {}, [](int32, std::string_view) { return kSuccess; }, nullptr), kInvalidParameterError);
}

// Text composed without its glyphs has nothing to draw: the preview says so rather than show
// pages without text.
TEST_F(PreviewWriterTest, TextComposedWithoutGlyphs_IsRefused)
{
    Spread& spread = doc.AddSpread(1);
    AddFrame(spread, 0, AddStory(kText), PMRect(20, 20, 280, 180));
    composer.ComposeAll(DB());
    struct KeepGlyphs {
        ~KeepGlyphs() { TextComposer::Get().SetKeepGlyphs(true); }
    } restore;
    TextComposer::Get().SetKeepGlyphs(false);
    std::string pdf;
    EXPECT_EQ(PreviewWriter::BuildPdf(DB(), {}, &pdf, &problems), kInvalidParameterError);
    EXPECT_EQ(PreviewWriter::BuildPngs(DB(), {}, [](int32, std::string_view) { return kSuccess; }, &problems), kInvalidParameterError);
    EXPECT_EQ(problems, std::vector<std::string>(2, "the text was composed without its glyphs: no page is drawn"));
    EXPECT_TRUE(pdf.empty());
    TextComposer::Get().SetKeepGlyphs(true);
    EXPECT_EQ(PreviewWriter::BuildPdf(DB(), {}, &pdf, nullptr), kSuccess);
}

TEST_F(PreviewWriterTest, Png_PageTooLargeIsDrawnSmaller)
{
    Spread& spread = doc.AddSpread(1);
    Page& page = doc.PageOf(spread, 0);
    page.width = 15552;
    page.height = 200;
    SpreadLayout::Arrange(DB(), spread);
    std::vector<std::string> images = Pngs({600, false});
    ASSERT_EQ(images.size(), 1u);
    PreviewImage image(images[0]);
    EXPECT_LE(image.Width(), PreviewWriter::kMaxImageSide);
    EXPECT_GT(image.Width(), 30000);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "page 1 is too large for an image at 600 dpi; it is drawn at 151.6 dpi");
}

TEST(PreviewWriter, FitResolution_KeepsImagesWithinLimits)
{
    EXPECT_EQ(PreviewWriter::FitResolution(612, 792, 96), 96);
    for (auto [width, height, dpi] : {std::tuple{15552.0, 15552.0, 1200.0}, {15552.0, 100.0, 300.0}, {612.0, 792.0, 1200.0}}) {
        double fit = PreviewWriter::FitResolution(width, height, dpi);
        double w = std::ceil(width * fit / 72), h = std::ceil(height * fit / 72);
        EXPECT_LT(fit, dpi);
        EXPECT_LE(std::max(w, h), PreviewWriter::kMaxImageSide);
        EXPECT_LE(w * h, static_cast<double>(PreviewWriter::kMaxImagePixels));
    }
}

TEST(PreviewColors, SwatchesAsDeviceRgb)
{
    TestDocument doc;
    DataBase& db = doc.DB();
    SwatchUtils::AddDefaultSwatches(db);
    PreviewColors colors(db);
    PreviewColor color;
    auto expect = [&](UID swatch, double r, double g, double b) {
        ASSERT_TRUE(colors.Resolve(swatch, color));
        EXPECT_NEAR(color.red, r, 1e-9);
        EXPECT_NEAR(color.green, g, 1e-9);
        EXPECT_NEAR(color.blue, b, 1e-9);
    };
    expect(SwatchUtils::GetBlackSwatch(db), 0, 0, 0);
    expect(SwatchUtils::GetPaperSwatch(db), 1, 1, 1);
    expect(SwatchUtils::GetRegistrationSwatch(db), 0, 0, 0);
    UID spot = SwatchUtils::AddSwatch(db, PMString("Spot"), SwatchKind::kSpot, 0.5, 0, 1, 0.2)->GetUID();
    expect(spot, 0.4, 0.8, 0);
    Swatch& tint = *db.Create<Swatch>();
    tint.kind = SwatchKind::kTint;
    tint.base = spot;
    tint.tint = 25;
    expect(tint.GetUID(), 0.85, 0.95, 0.75);
    Swatch& tintOfTint = *db.Create<Swatch>();
    tintOfTint.kind = SwatchKind::kTint;
    tintOfTint.base = tint.GetUID();
    tintOfTint.tint = 50;
    expect(tintOfTint.GetUID(), 0.925, 0.975, 0.875);
    EXPECT_FALSE(colors.Resolve(SwatchUtils::GetNoneSwatch(db), color));
    EXPECT_FALSE(colors.Resolve(9999, color));
    tint.base = tintOfTint.GetUID();  // a loop
    EXPECT_FALSE(colors.Resolve(tint.GetUID(), color));
}

// The values of text variables are drawn where the composer set them; on a master page drawn on
// a page, its page numbers are those of the page.
TEST_F(PreviewWriterTest, Png_VariableValuesAndTheMastersPageNumbersOfEachPage)
{
    MasterSpread& master = doc.AddMaster("A", "Master", 1);
    Spread& first = doc.AddSpread(1);
    Spread& second = doc.AddSpread(1);
    for (Spread* spread : {&first, &second}) doc.PageOf(*spread, 0).appliedMaster = master.GetUID();
    doc.AddSection(doc.PageOf(first, 0), PageNumberStyle::kArabic, false, 9);  // pages 9 and 10
    const PMRect footer(20, 150, 280, 190), body(20, 20, 280, 60);
    AddFrame(master, 0, AddStory(std::u16string(1, kTextChar_PageNumber)), footer);
    Story& story = AddStory(u"");
    AddFrame(first, 0, story, body);
    TextVariable& variable = *DB().Create<TextVariable>();
    variable.name = "Product";
    variable.contents = "Tessel";
    DB().GetDocument()->textVariables.push_back(variable.GetUID());
    TextVariableInstance& instance = *DB().Create<TextVariableInstance>();
    instance.variable = variable.GetUID();
    instance.story = story.GetUID();
    ASSERT_TRUE(story.textModel.Insert(0, std::u16string(1, kTextChar_TextVariable)));
    ASSERT_TRUE(story.textModel.SetOwnedItem(0, instance.GetUID()));
    std::vector<std::string> images = Pngs();
    ASSERT_EQ(images.size(), 2u);
    PreviewImage page9(images[0]), page10(images[1]);
    // The rightmost column with ink in `box`.
    auto rightmost = [](const PreviewImage& image, const PMRect& box) {
        for (int x = static_cast<int>(box.right); x >= static_cast<int>(box.left); --x)
            if (image.InkIn(x, static_cast<int>(box.top), x + 1, static_cast<int>(box.bottom)) > 0) return x - static_cast<int>(box.left);
        return -1;
    };
    // A story of the variable alone shows its value.
    EXPECT_GT(page9.InkIn(20, 20, 280, 60), 20);
    EXPECT_NEAR(rightmost(page9, body), composer.GetFontCache().Shape(composer.GetFontCache().GetFace(PMString(kFamily), PMString("Book")), u"Tessel").width * 12, 2);
    // "9" on the first page, "10" (two digits, wider) on the second.
    const int one = rightmost(page9, footer), two = rightmost(page10, footer);
    EXPECT_GT(one, 0);
    EXPECT_GT(two, one + 4);
}
