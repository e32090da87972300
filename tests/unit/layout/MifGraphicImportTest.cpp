// Graphic objects on pages: the graphic state carried from object to object, the pattern table,
// invisible objects, line ends, text lines, embedded and linked images, frames as groups, arcs,
// rotation, and what bad input leaves behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>

#include "CAlert.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "FileChooser.h"
#include "FrameList.h"
#include "GroupItem.h"
#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "PlacedGraphic.h"
#include "SplineItem.h"
#include "Spread.h"
#include "Story.h"
#include "Swatch.h"
#include "SwatchUtils.h"
#include "TempFolder.h"
#include "TestUtils.h"
#include "TextFrame.h"
#include "WarningsPresenter.h"

#include "host/IdmlPackage.h"
#include "layout/MifArcPath.h"
#include "layout/MifImageImporter.h"
#include "layout/MifMarkPageItemCmd.h"
#include "mif/MifFacetList.h"

namespace {

class MifGraphicImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSavedLogDir = std::getenv("TESSEL_LOG_DIR") ? std::getenv("TESSEL_LOG_DIR") : "";
        setenv("TESSEL_LOG_DIR", mFolder.Path().c_str(), 1);
    }
    void TearDown() override
    {
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
        setenv("TESSEL_LOG_DIR", mSavedLogDir.c_str(), 1);
    }
    // Imports a body page holding `objects`, with the colors Red and Blue.
    void Import(const std::string& objects, const std::string& name = "graphics-test.mif", const OpenOptions& options = {})
    {
        std::string mif = "<MIFFile 9.00>\n<ColorCatalog <Color <ColorTag `Red'> <ColorCyan 0> <ColorMagenta 100> <ColorYellow 100>"
                          " <ColorBlack 0>> <Color <ColorTag `Blue'> <ColorCyan 100> <ColorMagenta 0> <ColorYellow 0> <ColorBlack 0>>>\n"
                          "<Document <DPageSize 612pt 792pt>>\n<Page <PageType BodyPage>\n" +
                          objects + "\n>\n";
        auto path = mFolder / name;
        std::ofstream(path, std::ios::binary) << mif;
        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message, options), kSuccess) << message.GetUTF8String();
        presenter.Clear();
        CAlert::SetPresenter(&presenter);
        CmdUtils::ProcessScheduledCmds();
        CAlert::SetPresenter(nullptr);
        db = document.GetDataBase();
        const Page* page = db->Get<Page>(db->GetDocument()->GetPages().at(0));
        pageOrigin = {page->boundsInSpread.left, page->boundsInSpread.top};
        spread = db->Get<Spread>(page->spread);
    }
    // The page items of the spread, back to front, of type T.
    template <class T>
    std::vector<const T*> Items() const
    {
        std::vector<const T*> items;
        for (UID uid : spread->pageItems)
            if (const T* item = db->Get<T>(uid)) items.push_back(item);
        return items;
    }
    // The item's bounds on the page.
    PMRect OnPage(const PageItem& item) const
    {
        PMRect b = item.GetBoundsInSpread();
        return PMRect(b.left - pageOrigin.x, b.top - pageOrigin.y, b.right - pageOrigin.x, b.bottom - pageOrigin.y);
    }
    UID Color(const char* name) const { return SwatchUtils::FindSwatch(*db, PMString(name)); }


    TempFolder mFolder{"graphics"};
    std::string mSavedLogDir;
    DataBase* db = nullptr;
    const Spread* spread = nullptr;
    PMPoint pageOrigin;
    WarningsPresenter presenter;
};

void ExpectRect(const PMRect& actual, const PMRect& expected)
{
    EXPECT_NEAR(actual.left, expected.left, 0.01);
    EXPECT_NEAR(actual.top, expected.top, 0.01);
    EXPECT_NEAR(actual.right, expected.right, 0.01);
    EXPECT_NEAR(actual.bottom, expected.bottom, 0.01);
}

// A 2 x 2 uncompressed TIFF, as hex.
const char* kTiffHex =
    "49492A000800000009000001030001000000020000000101030001000000020000000201030001000000080000000301"
    "0300010000000100000006010300010000000200000011010400010000007A00000015010300010000000300000016010300010000000200000017010400010000000C00000000000000FF000000FF000000FFFFFF00";

std::string Inset(const char* facets) { return std::string(" <ImportObFile `2.0 internal inset'>\n") + facets + "\n=EndInset\n"; }

std::string TiffFacets()
{
    return std::string("=PICT\n&%v\n&\\x00000000\\x\n=TIFF\n&%v\n&\\x") + kTiffHex + "\\x";
}

} // namespace

TEST_F(MifGraphicImportTest, Shapes_PlaceKindAndState)
{
    Import("<Rectangle <Pen 0> <PenWidth 2pt> <Fill 4> <ObColor `Red'> <ShapeRect 72pt 36pt 144pt 72pt>>\n"
           "<Rectangle <ShapeRect 0pt 0pt 10pt 10pt>>\n"
           "<RoundRect <Fill 7> <Radius 9pt> <ShapeRect 100pt 100pt 50pt 40pt>>\n"
           "<Ellipse <Fill 12> <ObColor `Blue'> <ShapeRect 200pt 200pt 60pt 30pt>>\n");
    std::vector<const SplineItem*> splines = Items<SplineItem>();
    ASSERT_EQ(splines.size(), 4u);
    ExpectRect(OnPage(*splines[0]), PMRect(72, 36, 216, 108));
    EXPECT_EQ(splines[0]->kind, SplineKind::kRectangle);
    EXPECT_EQ(splines[0]->graphics.fillColor, Color("Red"));
    EXPECT_EQ(splines[0]->graphics.fillTint, 30);   // Fill 4
    EXPECT_EQ(splines[0]->graphics.strokeTint, 100);
    // The second states nothing: the first's 2 pt solid red stroke and fill carry over.
    EXPECT_EQ(splines[1]->graphics.strokeWeight, 2);
    EXPECT_TRUE(splines[1]->graphics.solidStroke);
    EXPECT_EQ(splines[1]->graphics.strokeColor, Color("Red"));
    EXPECT_EQ(splines[1]->graphics.fillTint, 30);
    // Fill 7 is paper; the radius rounds the corners.
    EXPECT_EQ(splines[2]->graphics.fillColor, SwatchUtils::GetPaperSwatch(*db));
    EXPECT_TRUE(splines[2]->graphics.roundedCorners);
    EXPECT_EQ(splines[2]->graphics.cornerRadius, 9);
    // Fill 12, a cross-hatch: the object colour at the hatch's grey.
    EXPECT_EQ(splines[3]->kind, SplineKind::kOval);
    EXPECT_EQ(splines[3]->graphics.fillColor, Color("Blue"));
    EXPECT_EQ(splines[3]->graphics.fillTint, 50);
    for (const SplineItem* spline : splines) EXPECT_TRUE(spline->importMark);
    EXPECT_EQ(presenter.text, "");
}

TEST_F(MifGraphicImportTest, Shapes_HatchesAndTexturesAreTintsOfTheirGrey)
{
    // As a chart program writes pie slices: a hatch or texture fill in the slice's colour.
    Import("<Polygon <Pen 15> <Fill 9> <ObColor `Red'> <Point 0pt 0pt> <Point 50pt 0pt> <Point 0pt 50pt>>\n"
           "<Polygon <Fill 13> <Point 0pt 0pt> <Point 50pt 0pt> <Point 0pt 50pt>>\n"
           "<Polygon <Fill 14> <ObTint 50%> <Point 0pt 0pt> <Point 50pt 0pt> <Point 0pt 50pt>>\n"
           "<PolyLine <Pen 8> <PenWidth 1pt> <Point 0pt 0pt> <Point 50pt 50pt>>\n");
    std::vector<const SplineItem*> splines = Items<SplineItem>();
    ASSERT_EQ(splines.size(), 4u);
    EXPECT_EQ(splines[0]->graphics.fillColor, Color("Red"));
    EXPECT_EQ(splines[0]->graphics.fillTint, 25);   // a single hatch
    EXPECT_EQ(splines[0]->graphics.strokeColor, SwatchUtils::GetNoneSwatch(*db));
    EXPECT_EQ(splines[1]->graphics.fillColor, Color("Red"));
    EXPECT_EQ(splines[1]->graphics.fillTint, 50);   // a cross-hatch
    EXPECT_EQ(splines[2]->graphics.fillTint, 25);   // ObTint lightens the grey further
    EXPECT_EQ(splines[3]->graphics.strokeTint, 25); // a hatched pen too
    EXPECT_EQ(presenter.text, "");
}

TEST_F(MifGraphicImportTest, Shapes_InvisibleOnlyWhenPushingNoText)
{
    Import("<Rectangle <Pen 15> <Fill 15> <ObColor `None'> <ShapeRect 0pt 0pt 50pt 50pt>>\n"
           "<Rectangle <Pen 15> <Fill 15> <ObColor `None'> <RunaroundType Box> <RunaroundGap 6pt> <ShapeRect 0pt 0pt 50pt 50pt>>\n");
    std::vector<const SplineItem*> splines = Items<SplineItem>();
    ASSERT_EQ(splines.size(), 1u);
    EXPECT_EQ(splines[0]->graphics.wrapMode, TextWrapMode::kBoundingBox);
    EXPECT_EQ(splines[0]->graphics.wrapMargins, PMRect(6, 6, 6, 6));
    EXPECT_EQ(splines[0]->graphics.fillColor, SwatchUtils::GetNoneSwatch(*db));
    EXPECT_EQ(splines[0]->graphics.strokeColor, SwatchUtils::GetNoneSwatch(*db));
}

TEST_F(MifGraphicImportTest, Paths_PointsLineEndsAndTint)
{
    Import("<PolyLine <PenWidth 1pt> <HeadCap ArrowHead> <TailCap Butt> <Point 10pt 20pt> <Point 110pt 20pt> <Point 110pt 70pt>>\n"
           "<Polygon <Fill 2> <ObColor `Red'> <ObTint 50%> <Point 0pt 0pt> <Point 30pt 0pt> <Point 0pt 40pt>>\n");
    std::vector<const SplineItem*> splines = Items<SplineItem>();
    ASSERT_EQ(splines.size(), 2u);
    const SplineItem& line = *splines[0];
    EXPECT_EQ(line.kind, SplineKind::kGraphicLine);
    ASSERT_EQ(line.path.size(), 3u);
    PMPoint last = line.itemTransform.Transform(line.path[2].anchor);
    EXPECT_NEAR(last.x - pageOrigin.x, 110, 0.01);
    EXPECT_NEAR(last.y - pageOrigin.y, 70, 0.01);
    EXPECT_EQ(line.graphics.startLineEnd, LineEnd::kSimpleArrowHead);
    EXPECT_EQ(line.graphics.endLineEnd, LineEnd::kNone);
    // ObTint lightens the pattern's shade: 70 % of 50 %.
    EXPECT_EQ(splines[1]->kind, SplineKind::kPolygon);
    EXPECT_NEAR(splines[1]->graphics.fillTint, 35, 1e-9);
    ExpectRect(OnPage(*splines[1]), PMRect(0, 0, 30, 40));
}

TEST_F(MifGraphicImportTest, TextLine_AlignedOnItsOriginAndBaseline)
{
    Import("<TextLine <TLOrigin 300pt 400pt> <TLAlignment Center> <Font <FFamily `DejaVu Sans'> <FSize 12pt>> <String `Centred'>>\n"
           "<TextLine <TLOrigin 100pt 100pt> <String `   '>>\n"
           "<TextLine <TLOrigin 100pt 500pt> <TLAlignment Right> <String `Right'>>\n");
    std::vector<const TextFrame*> frames = Items<TextFrame>();
    ASSERT_EQ(frames.size(), 2u);   // the blank line makes nothing
    for (const TextFrame* frame : frames) {
        const Story* story = db->Get<Story>(frame->story);
        ASSERT_TRUE(story);
        const ComposedLine& line = story->frameList.GetFrames().at(0).lines.at(0);
        EXPECT_GT(line.width, 10);
        EXPECT_TRUE(frame->graphics.ignoreWrap);
        PMRect onPage = OnPage(*frame);
        PMReal baseline = onPage.top + line.baseline;
        if (frame == frames[0]) {
            EXPECT_NEAR((onPage.left + onPage.left + line.width) / 2, 300, 0.01);
            EXPECT_NEAR(baseline, 400, 0.01);
        } else {
            EXPECT_NEAR(onPage.left + line.width, 100, 0.01);
            EXPECT_NEAR(baseline, 500, 0.01);
        }
        EXPECT_EQ(story->textModel.GetText(0, 4), frame == frames[0] ? u"Cent" : u"Righ");
    }
}

TEST_F(MifGraphicImportTest, Rotation_AboutTheCentreAndNoneAt360)
{
    Import("<Rectangle <Fill 0> <Angle 90> <ShapeRect 100pt 100pt 100pt 20pt>>\n"
           "<Rectangle <Angle 360> <ShapeRect 300pt 100pt 100pt 20pt>>\n"
           "<Rectangle <Angle 1e308> <ShapeRect 300pt 300pt 100pt 20pt>>\n");
    std::vector<const SplineItem*> splines = Items<SplineItem>();
    ASSERT_EQ(splines.size(), 3u);
    ExpectRect(OnPage(*splines[0]), PMRect(140, 60, 160, 160));
    // Counterclockwise on the page: the right edge's midpoint goes to the top.
    PMPoint right = splines[0]->itemTransform.Transform({100, 10});
    EXPECT_NEAR(right.y - pageOrigin.y, 60, 0.01);
    EXPECT_EQ(splines[1]->itemTransform, PMMatrix::Translation(300 + pageOrigin.x, 100 + pageOrigin.y));
    for (PMReal v : {splines[2]->itemTransform.a, splines[2]->itemTransform.tx}) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(MifGraphicImportTest, Frame_GroupsItsContentsRelativeToItsCorner)
{
    Import("<Frame <Pen 0> <Fill 15> <ShapeRect 100pt 200pt 300pt 100pt>\n"
           " <Rectangle <Pen 15> <Fill 3> <ShapeRect 10pt 10pt 50pt 50pt>>\n"
           " <Ellipse <ShapeRect 100pt 10pt 50pt 50pt>>\n"
           ">\n<Frame <ShapeRect 0pt 0pt 0pt 10pt> <Rectangle <Fill 0> <ShapeRect 0pt 0pt 5pt 5pt>>>\n");
    std::vector<const GroupItem*> groups = Items<GroupItem>();
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0]->children.size(), 3u);   // the frame's own border, then its contents
    const PageItem* border = db->Get<PageItem>(groups[0]->children[0]);
    const PageItem* rect = db->Get<PageItem>(groups[0]->children[1]);
    ASSERT_TRUE(border && rect);
    ExpectRect(OnPage(*border), PMRect(100, 200, 400, 300));
    ExpectRect(OnPage(*rect), PMRect(110, 210, 160, 260));
    EXPECT_EQ(rect->parent, groups[0]->GetUID());
    EXPECT_TRUE(groups[0]->importMark);
    EXPECT_EQ(spread->pageItems.size(), 1u);   // the empty frame makes nothing
}

TEST_F(MifGraphicImportTest, EmbeddedImage_BestFacetWrittenOnceAndEmbedded)
{
    std::string object = "<ImportObject <ShapeRect 10pt 10pt 72pt 72pt>\n" + Inset(TiffFacets().c_str()) + ">\n";
    Import(object + object, "report.mif");
    std::vector<const SplineItem*> frames = Items<SplineItem>();
    ASSERT_EQ(frames.size(), 2u);
    const PlacedGraphic* first = db->Get<PlacedGraphic>(frames[0]->graphic);
    const PlacedGraphic* second = db->Get<PlacedGraphic>(frames[1]->graphic);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->format, "TIFF");
    EXPECT_TRUE(first->embedded);
    EXPECT_EQ(first->data.size(), std::strlen(kTiffHex) / 2);
    // Named after the MIF file less ".mif", next to it, shared by the identical data...
    EXPECT_EQ(first->file.GetPath(), (mFolder / "reportimage1.tif"));
    EXPECT_EQ(second->file.GetPath(), first->file.GetPath());
    // ...and gone when the import ends, the bytes being in the document.
    EXPECT_FALSE(std::filesystem::exists(first->file.GetPath()));
    ExpectRect(OnPage(*frames[0]), PMRect(10, 10, 82, 82));
    EXPECT_EQ(presenter.text, "");
}

TEST_F(MifGraphicImportTest, EmbeddedImage_NeverOverwritesAFileOfTheUser)
{
    std::ofstream(mFolder / "reportimage1.tif") << "mine";
    Import("<ImportObject <ShapeRect 10pt 10pt 72pt 72pt>\n" + Inset(TiffFacets().c_str()) + ">\n", "report.mif");
    EXPECT_EQ(ReadFile((mFolder / "reportimage1.tif").string()), "mine");
    std::vector<const SplineItem*> frames = Items<SplineItem>();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(db->Get<PlacedGraphic>(frames[0]->graphic)->file.GetFileName(), PMString("reportimage2.tif"));
}

TEST_F(MifGraphicImportTest, LinkedImage_PlacedOrReported)
{
    std::filesystem::copy_file(std::filesystem::path(TESSEL_TEST_DATA_DIR) / "graphics-link.png", mFolder / "pic.png");
    std::ofstream(mFolder / "notes.png") << "not an image";
    std::filesystem::create_directory(mFolder / "folder.png");
    Import("<ImportObject <ShapeRect 10pt 10pt 80pt 40pt> <FlipLR Yes> <ImportObFileDI `<c\\>pic.png'>>\n"
           "<ImportObject <ShapeRect 10pt 100pt 80pt 40pt> <ImportObFileDI `<c\\>missing.png'>>\n"
           "<ImportObject <ShapeRect 10pt 100pt 80pt 40pt> <ImportObFileDI `<c\\>notes.png'>>\n"
           "<ImportObject <ShapeRect 10pt 100pt 80pt 40pt> <ImportObFileDI `<c\\>folder.png'>>\n"
           "<Rectangle <Fill 0> <ShapeRect 0pt 0pt 5pt 5pt>>\n");
    std::vector<const SplineItem*> frames = Items<SplineItem>();
    ASSERT_EQ(frames.size(), 2u);   // the picture and the rectangle after the failures
    const PlacedGraphic* graphic = db->Get<PlacedGraphic>(frames[0]->graphic);
    ASSERT_TRUE(graphic);
    EXPECT_EQ(graphic->format, "PNG");
    EXPECT_FALSE(graphic->embedded);
    EXPECT_EQ(graphic->graphicBounds, PMRect(0, 0, 8, 4));   // its pixels, scaled to the frame
    EXPECT_NEAR(graphic->itemTransform.a, 10, 1e-9);
    // Mirrored in place.
    EXPECT_NEAR(frames[0]->itemTransform.a, -1, 1e-12);
    ExpectRect(OnPage(*frames[0]), PMRect(10, 10, 90, 50));
    int line = 6;
    for (const char* name : {"missing.png", "notes.png", "folder.png"})
        EXPECT_TRUE(presenter.HasLine("Line " + std::to_string(line++) + ": Can't import image file:: " + (mFolder / name).string()));
}

// FrameMaker draws an imported EPS at the size of its ShapeRect, whatever its bounding box says:
// the graphic is scaled into its frame, each way on its own. The box deferred to the trailer,
// the finer HiResBoundingBox and a binary DOS EPS header each give the file's own size.
TEST_F(MifGraphicImportTest, LinkedImage_EpsScaledToItsShapeRect)
{
    auto write = [this](const char* name, const std::string& text) { std::ofstream(mFolder / name, std::ios::binary) << text; };
    write("harbour.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 288 144\n%%EndComments\n"
                         "% an embedded file's box is not the file's\n%%BoundingBox: 0 0 10 10\nshowpage\n%%EOF\n");
    write("atend.eps", "%!PS-Adobe-3.0 EPSF-3.0\r%%BoundingBox: (atend)\r%%EndComments\rshowpage\r%%Trailer\r"
                       "%%BoundingBox: 10 20 154 92\r%%EOF\r");
    write("hires.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 37 19\n%%HiResBoundingBox: 0.5 0.5 36.5 18.5\n%%EndComments\n");
    std::string dos = "\xC5\xD0\xD3\xC6" + std::string(26, '\0');
    std::string postscript = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 144 288\n%%EndComments\n";
    dos[4] = 30;                                         // where the PostScript starts
    dos[8] = static_cast<char>(postscript.size());       // and its length
    write("dos.eps", dos + postscript);
    write("nobox.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%EndComments\n");
    Import("<ImportObject <ShapeRect 72pt 72pt 72pt 72pt> <BitMapDpi 72> <ImportObFileDI `<c\\>harbour.eps'>>\n"
           "<ImportObject <ShapeRect 72pt 200pt 72pt 72pt> <ImportObFileDI `<c\\>atend.eps'>>\n"
           "<ImportObject <ShapeRect 72pt 300pt 72pt 72pt> <ImportObFileDI `<c\\>hires.eps'>>\n"
           "<ImportObject <ShapeRect 72pt 400pt 72pt 72pt> <ImportObFileDI `<c\\>dos.eps'>>\n"
           "<ImportObject <ShapeRect 72pt 500pt 72pt 72pt> <ImportObFileDI `<c\\>nobox.eps'>>\n");
    std::vector<const SplineItem*> frames = Items<SplineItem>();
    ASSERT_EQ(frames.size(), 5u) << presenter.text;
    const PMPoint scales[] = {{0.25, 0.5}, {0.5, 1}, {2, 4}, {0.5, 0.25}, {1, 1}};   // the last keeps the frame's size
    const PMReal tops[] = {72, 200, 300, 400, 500};

    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    ASSERT_TRUE(package.IsOpen()) << package.GetError();
    for (size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectRect(OnPage(*frames[i]), PMRect(72, tops[i], 144, tops[i] + 72));
        pugi::xml_node eps = package.FindSelf(IdmlIds::ForUID(frames[i]->graphic));
        ASSERT_STREQ(eps.name(), "EPS");
        double m[6] = {};
        ASSERT_EQ(std::sscanf(eps.attribute("ItemTransform").value(), "%lf %lf %lf %lf %lf %lf", &m[0], &m[1], &m[2], &m[3], &m[4], &m[5]), 6);
        EXPECT_NEAR(m[0], scales[i].x, 1e-9);
        EXPECT_NEAR(m[3], scales[i].y, 1e-9);
        pugi::xml_node bounds = eps.child("Properties").child("GraphicBounds");
        // Scaled, the graphic covers the frame exactly.
        EXPECT_NEAR(bounds.attribute("Right").as_double() * m[0], 72, 1e-6);
        EXPECT_NEAR(bounds.attribute("Bottom").as_double() * m[3], 72, 1e-6);
    }
}

// A bitmap that gives its own resolution has that size in InDesign (pixels at 72 an inch when
// it gives none): the transform scales that size to the ShapeRect.
TEST_F(MifGraphicImportTest, LinkedImage_BitmapScaledFromTheResolutionItGivesItself)
{
    std::ifstream in(std::filesystem::path(TESSEL_TEST_DATA_DIR) / "graphics-link.png", std::ios::binary);
    std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());   // 8 x 4 pixels
    // A pHYs chunk of 11811 pixels a metre (300 an inch) across and 5906 (150) down, after IHDR.
    std::string chunk = std::string("pHYs") + std::string("\0\0\x2E\x23\0\0\x17\x12\x01", 9);
    uint32 crc = MifFacetList::ComputeCRC32(reinterpret_cast<const uchar*>(chunk.data()), chunk.size());
    std::string phys = std::string("\0\0\0\x09", 4) + chunk;
    for (int shift : {24, 16, 8, 0}) phys += static_cast<char>(crc >> shift);
    std::ofstream(mFolder / "dense.png", std::ios::binary) << png.substr(0, 33) + phys + png.substr(33);
    std::ofstream(mFolder / "plain.png", std::ios::binary) << png;
    Import("<ImportObject <ShapeRect 72pt 72pt 72pt 72pt> <BitMapDpi 300> <ImportObFileDI `<c\\>dense.png'>>\n"
           "<ImportObject <ShapeRect 72pt 200pt 72pt 72pt> <ImportObFileDI `<c\\>plain.png'>>\n");
    std::vector<const SplineItem*> frames = Items<SplineItem>();
    ASSERT_EQ(frames.size(), 2u) << presenter.text;
    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    const PMPoint natural[] = {{8 * 72 / 300.0, 4 * 72 / 150.0}, {8, 4}};
    for (size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        pugi::xml_node image = package.FindSelf(IdmlIds::ForUID(frames[i]->graphic));
        ASSERT_STREQ(image.name(), "Image");
        pugi::xml_node bounds = image.child("Properties").child("GraphicBounds");
        EXPECT_NEAR(bounds.attribute("Right").as_double(), natural[i].x, 1e-3);
        EXPECT_NEAR(bounds.attribute("Bottom").as_double(), natural[i].y, 1e-3);
        double m[6] = {};
        ASSERT_EQ(std::sscanf(image.attribute("ItemTransform").value(), "%lf %lf %lf %lf %lf %lf", &m[0], &m[1], &m[2], &m[3], &m[4], &m[5]), 6);
        EXPECT_NEAR(bounds.attribute("Right").as_double() * m[0], 72, 1e-3);
        EXPECT_NEAR(bounds.attribute("Bottom").as_double() * m[3], 72, 1e-3);
    }
}

// A MIF file from someone else names files anywhere on this machine: what lies outside its
// folder (by its names, or through a link) is reported with its line and neither read nor
// linked; devices and FIFOs inside it are never opened; the user may allow the outside.
TEST_F(MifGraphicImportTest, LinkedImage_OutsideTheFolderNeitherReadNorLinked)
{
    namespace fs = std::filesystem;
    fs::create_directories(mFolder / "doc" / "images");
    fs::create_directories(mFolder / "elsewhere");
    fs::copy_file(fs::path(TESSEL_TEST_DATA_DIR) / "graphics-link.png", mFolder / "elsewhere" / "out.png");
    fs::copy_file(fs::path(TESSEL_TEST_DATA_DIR) / "graphics-link.png", mFolder / "doc" / "images" / "in.png");
    fs::create_symlink(mFolder / "elsewhere" / "out.png", mFolder / "doc" / "leads-out.png");
    fs::create_symlink(mFolder / "doc" / "images" / "in.png", mFolder / "doc" / "stays-in.png");
    ASSERT_EQ(mkfifo((mFolder / "doc" / "pipe.png").c_str(), 0600), 0);
    const std::string root = "<ImportObject <ShapeRect 10pt 10pt 80pt 40pt> <ImportObFileDI `<r\\><c\\>etc<c\\>shadow'>>\n";
    const std::string objects =
        "<ImportObject <ShapeRect 10pt 60pt 80pt 40pt> <ImportObFileDI `<u\\><c\\>elsewhere<c\\>out.png'>>\n"
        "<ImportObject <ShapeRect 10pt 110pt 80pt 40pt> <ImportObFileDI `<c\\>leads-out.png'>>\n"
        "<ImportObject <ShapeRect 10pt 160pt 80pt 40pt> <ImportObFileDI `<c\\>images<c\\>..<u\\><u\\><c\\>elsewhere<c\\>out.png'>>\n"
        "<ImportObject <ShapeRect 10pt 210pt 80pt 40pt> <ImportObFileDI `<c\\>pipe.png'>>\n"
        "<ImportObject <ShapeRect 10pt 260pt 80pt 40pt> <ImportObFileDI `<c\\>images<c\\>in.png'>>\n"
        "<ImportObject <ShapeRect 10pt 310pt 80pt 40pt> <ImportObFileDI `<c\\>stays-in.png'>>\n";
    Import(root + objects, "doc/outside.mif");
    std::vector<const SplineItem*> frames = Items<SplineItem>();
    ASSERT_EQ(frames.size(), 2u) << presenter.text;   // the two inside the folder
    for (const SplineItem* frame : frames) {
        const PlacedGraphic* graphic = db->Get<PlacedGraphic>(frame->graphic);
        ASSERT_TRUE(graphic);
        EXPECT_EQ(graphic->format, "PNG");
    }
    const std::string outside = "Image file outside the folder of the MIF file, neither read nor linked: ";
    EXPECT_TRUE(presenter.HasLine("Line 5: " + outside + "/etc/shadow"));
    EXPECT_TRUE(presenter.HasLine("Line 6: " + outside + (mFolder / "elsewhere" / "out.png").string()));
    EXPECT_TRUE(presenter.HasLine("Line 7: " + outside + (mFolder / "doc" / "leads-out.png").string()));
    EXPECT_TRUE(presenter.HasLine("Line 8: " + outside + (mFolder / "elsewhere" / "out.png").string()));
    EXPECT_TRUE(presenter.HasLine("Line 9: Can't import image file:: " + (mFolder / "doc" / "pipe.png").string()));
    DocumentList::Close(db);

    // Allowed: the files beyond the folder and behind the link are read and linked; the FIFO is
    // still not opened.
    Import(objects, "doc/outside.mif", OpenOptions{.allowOutsideImages = true});
    std::vector<std::string> linked;
    for (const SplineItem* frame : Items<SplineItem>()) linked.push_back(db->Get<PlacedGraphic>(frame->graphic)->file.GetPath().string());
    const std::vector<std::string> expected = {(mFolder / "elsewhere" / "out.png").string(), (mFolder / "doc" / "leads-out.png").string(),
                                               (mFolder / "elsewhere" / "out.png").string(), (mFolder / "doc" / "images" / "in.png").string(),
                                               (mFolder / "doc" / "stays-in.png").string()};
    EXPECT_EQ(linked, expected);
    EXPECT_FALSE(presenter.Mentions(outside));
    EXPECT_TRUE(presenter.HasLine("Line 8: Can't import image file:: " + (mFolder / "doc" / "pipe.png").string()));
}

// The image folders the user names are looked in first; a link there that leads out of them is
// not followed, and the file beside the MIF file is taken instead.
TEST_F(MifGraphicImportTest, LinkedImage_ImageFoldersKeepTheirLinksIn)
{
    namespace fs = std::filesystem;
    fs::create_directories(mFolder / "search");
    fs::create_directories(mFolder / "doc");
    fs::copy_file(fs::path(TESSEL_TEST_DATA_DIR) / "graphics-link.png", mFolder / "search" / "found.png");
    fs::copy_file(fs::path(TESSEL_TEST_DATA_DIR) / "graphics-link.png", mFolder / "doc" / "beside.png");
    fs::create_symlink(mFolder / "doc" / "beside.png", mFolder / "search" / "beside.png");
    const std::vector<IDFile> saved = FileChooser::GetGraphicSearchFolders();
    FileChooser::SetGraphicSearchFolders({IDFile(mFolder / "search")});
    Import("<ImportObject <ShapeRect 10pt 10pt 80pt 40pt> <ImportObFileDI `<r\\><c\\>somewhere<c\\>found.png'>>\n"
           "<ImportObject <ShapeRect 10pt 60pt 80pt 40pt> <ImportObFileDI `<c\\>beside.png'>>\n",
           "doc/search.mif");
    FileChooser::SetGraphicSearchFolders(saved);
    std::vector<const SplineItem*> frames = Items<SplineItem>();
    ASSERT_EQ(frames.size(), 2u) << presenter.text;
    EXPECT_EQ(db->Get<PlacedGraphic>(frames[0]->graphic)->file.GetPath(), mFolder / "search" / "found.png");
    EXPECT_EQ(db->Get<PlacedGraphic>(frames[1]->graphic)->file.GetPath(), mFolder / "doc" / "beside.png");
    EXPECT_EQ(presenter.text, "");
}

TEST(MifImageImporterTest, IsInside_ByNamesThenThroughLinks)
{
    namespace fs = std::filesystem;
    TempFolder folder{"inside"};
    fs::create_directories(folder / "doc" / "sub");
    fs::create_symlink("/etc", folder / "doc" / "etc");
    const IDFile doc(folder / "doc");
    EXPECT_TRUE(MifImageImporter::IsInside(IDFile(folder / "doc" / "sub" / "a.png"), doc));
    EXPECT_TRUE(MifImageImporter::IsInside(IDFile(folder / "doc" / "missing.png"), doc));
    EXPECT_TRUE(MifImageImporter::IsInside(IDFile(folder / "doc" / "sub" / ".." / "a.png"), IDFile(folder / "doc" / "")));
    EXPECT_FALSE(MifImageImporter::IsInside(IDFile(folder / "doc" / ".." / "a.png"), doc));
    EXPECT_FALSE(MifImageImporter::IsInside(IDFile(folder / "docs" / "a.png"), doc));   // a sibling sharing the prefix
    EXPECT_FALSE(MifImageImporter::IsInside(IDFile(folder / "doc" / "etc" / "passwd"), doc));
    EXPECT_FALSE(MifImageImporter::IsInside(doc, doc));
    EXPECT_TRUE(MifImageImporter::IsInside(IDFile(std::filesystem::path("/etc/shadow")), IDFile(std::filesystem::path("/"))));   // the root holds everything
}

TEST_F(MifGraphicImportTest, BadInput_ReportedAndTheRestConverted)
{
    std::string many = "<Polygon <Fill 0> <NumPoints 3>";
    for (int i = 0; i < 100000; ++i) many += " <Point " + std::to_string(i % 500) + "pt " + std::to_string(i % 700) + "pt>";
    many += ">\n";
    Import("<Polygon <Fill 0> <NumPoints 4>>\n"
           "<Polygon <Fill 0> <Point 5pt 5pt>>\n" +
           many + "<Rectangle <Pen 0> <PenWidth -2pt> <Fill 20> <ShapeRect 99999pt 0pt 10pt 10pt>>\n"
                  "<Math <ShapeRect 0 0 10pt 10pt>>\n<Arc <Fill 15> <ArcRect 0pt 0pt 10pt 10pt> <ArcTheta 1e308> <ArcDTheta 1e308>>\n");
    std::vector<const SplineItem*> splines = Items<SplineItem>();
    ASSERT_EQ(splines.size(), 4u);   // one point, many points, the rectangle, the arc
    EXPECT_EQ(splines[0]->path.size(), 1u);
    EXPECT_EQ(splines[1]->path.size(), 100000u);
    EXPECT_EQ(splines[2]->graphics.strokeWeight, 0);
    EXPECT_EQ(splines[2]->graphics.fillColor, SwatchUtils::GetNoneSwatch(*db));   // pattern 20 taken as none
    EXPECT_TRUE(std::isfinite(splines[2]->itemTransform.tx));
    EXPECT_TRUE(presenter.HasLine("Line 5: Polygon without Point, skipped"));
    EXPECT_TRUE(presenter.HasLine("Line 8: Pattern out of range (0 to 15), taken as 15 (none): 20"));
    EXPECT_TRUE(presenter.HasLine("Line 8: PenWidth below 0, taken as 0 pt: -2"));
    EXPECT_TRUE(presenter.HasLine("Line 8: ShapeRect left out of range (-15552 to 15552 pt), set to 15552 pt: 99999 pt"));
    for (const PMPathPoint& point : splines[3]->path) EXPECT_TRUE(std::isfinite(point.anchor.x) && std::isfinite(point.right.y));
}

TEST(MifArcPathTest, Arc_FollowsTheEllipseClockwiseFromTheTop)
{
    PMRect rect(0, 0, 200, 100);
    std::vector<PMPathPoint> quarter = MifArcPath::Build(rect, 0, 90);
    ASSERT_EQ(quarter.size(), 2u);
    EXPECT_NEAR(quarter[0].anchor.x, 100, 1e-9);   // 12 o'clock
    EXPECT_NEAR(quarter[0].anchor.y, 0, 1e-9);
    EXPECT_NEAR(quarter[1].anchor.x, 200, 1e-9);   // 3 o'clock
    EXPECT_NEAR(quarter[1].anchor.y, 50, 1e-9);
    // The Bézier's midpoint lies on the ellipse, within a hair.
    const PMPathPoint& a = quarter[0];
    const PMPathPoint& b = quarter[1];
    PMPoint mid{(a.anchor.x + 3 * a.right.x + 3 * b.left.x + b.anchor.x) / 8, (a.anchor.y + 3 * a.right.y + 3 * b.left.y + b.anchor.y) / 8};
    double onEllipse = std::pow((mid.x - 100) / 100, 2) + std::pow((mid.y - 50) / 50, 2);
    EXPECT_NEAR(onEllipse, 1, 1e-3);
    // A sweep of 270 degrees takes three segments; a full turn ends where it starts.
    EXPECT_EQ(MifArcPath::Build(rect, 45, 270).size(), 4u);
    std::vector<PMPathPoint> full = MifArcPath::Build(rect, 30, 720);
    EXPECT_NEAR(full.front().anchor.x, full.back().anchor.x, 1e-9);
    EXPECT_NEAR(full.front().anchor.y, full.back().anchor.y, 1e-9);
    EXPECT_EQ(MifArcPath::Build(rect, 10, 0).size(), 1u);
    std::vector<PMPathPoint> negative = MifArcPath::Build(rect, 90, -90);   // back to 12 o'clock
    EXPECT_NEAR(negative.back().anchor.x, 100, 1e-9);
}

TEST_F(MifGraphicImportTest, Arc_OpenWhenStrokedAWedgeWhenFilled)
{
    Import("<Arc <Fill 15> <HeadCap ArrowHead> <ArcRect 0pt 0pt 100pt 100pt> <ArcTheta 0> <ArcDTheta 90>>\n"
           "<Arc <Pen 15> <Fill 0> <ArcRect 0pt 0pt 100pt 100pt> <ArcTheta 90> <ArcDTheta 90>>\n");
    std::vector<const SplineItem*> splines = Items<SplineItem>();
    ASSERT_EQ(splines.size(), 2u);
    EXPECT_EQ(splines[0]->kind, SplineKind::kGraphicLine);
    EXPECT_EQ(splines[0]->graphics.startLineEnd, LineEnd::kSimpleArrowHead);
    EXPECT_EQ(splines[1]->kind, SplineKind::kPolygon);
    ASSERT_EQ(splines[1]->path.size(), 3u);
    PMPoint centre = splines[1]->itemTransform.Transform(splines[1]->path[2].anchor);
    EXPECT_NEAR(centre.x - pageOrigin.x, 50, 1e-9);
    EXPECT_NEAR(centre.y - pageOrigin.y, 50, 1e-9);
}

TEST_F(MifGraphicImportTest, Mark_EmptyListAndMissingValue)
{
    Import("<Rectangle <Fill 0> <ShapeRect 0pt 0pt 5pt 5pt>>\n");
    UID item = spread->pageItems.at(0);
    auto emptyCmd = std::make_shared<MifMarkPageItemCmd>();
    emptyCmd->SetItemList(UIDList(db));
    emptyCmd->boolData = false;
    EXPECT_EQ(CmdUtils::ProcessCommand(emptyCmd), kSuccess);
    auto noValueCmd = std::make_shared<MifMarkPageItemCmd>();
    noValueCmd->SetItemList(UIDList(UIDRef(db, item)));
    std::string log = (mFolder / "orvane.log").string();
    size_t before = ReadFile(log).size();
    EXPECT_NE(CmdUtils::ProcessCommand(noValueCmd), kSuccess);
    EXPECT_NE(ReadFile(log).substr(before).find("boolData == nil"), std::string::npos);
    EXPECT_TRUE(db->Get<PageItem>(item)->importMark);
}

TEST_F(MifGraphicImportTest, State_LastCapWinsAndFullObTintKeepsTheShade)
{
    Import("<PolyLine <HeadCap ArrowHead> <HeadCap Butt> <TailCap Round> <TailCap ArrowHead> <Point 0pt 0pt> <Point 50pt 0pt>>\n"
           "<Rectangle <Pen 1> <Fill 5> <ObColor `Blue'> <ObTint 100%> <ShapeRect 0pt 10pt 20pt 20pt>>\n"
           "<Rectangle <ObColor `NoSuchColor'> <ShapeRect 0pt 40pt 20pt 20pt>>\n");
    std::vector<const SplineItem*> splines = Items<SplineItem>();
    ASSERT_EQ(splines.size(), 3u);
    EXPECT_EQ(splines[0]->graphics.startLineEnd, LineEnd::kNone);
    EXPECT_EQ(splines[0]->graphics.endLineEnd, LineEnd::kSimpleArrowHead);
    EXPECT_EQ(splines[1]->graphics.fillTint, 10);
    EXPECT_EQ(splines[1]->graphics.strokeTint, 90);
    // An unknown colour is reported with its line and drawn in black.
    EXPECT_EQ(splines[2]->graphics.fillColor, SwatchUtils::GetBlackSwatch(*db));
    EXPECT_TRUE(presenter.HasLine("Line 7: ObColor names no color of the color catalog, black is used: NoSuchColor"));
}

TEST_F(MifGraphicImportTest, TextRect_GetsPenFillAndRotation)
{
    Import("<TextRect <ID 1> <Pen 0> <PenWidth 1pt> <Fill 3> <ObColor `Red'> <Angle 90> <ShapeRect 100pt 100pt 200pt 50pt>>\n");
    std::vector<const TextFrame*> frames = Items<TextFrame>();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0]->graphics.fillColor, Color("Red"));
    EXPECT_EQ(frames[0]->graphics.fillTint, 50);
    EXPECT_EQ(frames[0]->graphics.strokeWeight, 1);
    EXPECT_TRUE(frames[0]->importMark);
    ExpectRect(OnPage(*frames[0]), PMRect(175, 25, 225, 225));
}

TEST_F(MifGraphicImportTest, Shapes_AContourRunaroundFollowsTheObjectsOwnPath)
{
    Import("<Ellipse <Pen 0> <RunaroundType Contour> <RunaroundGap 3pt> <ShapeRect 0pt 0pt 50pt 40pt>>\n"
           "<Rectangle <Pen 0> <RunaroundType Box> <ShapeRect 60pt 0pt 50pt 40pt>>\n");
    std::vector<const SplineItem*> splines = Items<SplineItem>();
    ASSERT_EQ(splines.size(), 2u);
    EXPECT_EQ(splines[0]->graphics.wrapMode, TextWrapMode::kContour);
    EXPECT_EQ(splines[0]->graphics.wrapForm, TextWrapForm::kGraphicFrame);
    EXPECT_EQ(splines[0]->graphics.wrapMargins, PMRect(3, 3, 3, 3));
    // A box run-around keeps text off the bounding box: no contour form.
    EXPECT_EQ(splines[1]->graphics.wrapMode, TextWrapMode::kBoundingBox);
    EXPECT_EQ(splines[1]->graphics.wrapForm, TextWrapForm::kBoundingBox);
}
