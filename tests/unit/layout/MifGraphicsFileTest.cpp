// The graphics test file (tests/data/graphics.mif) converted whole: every kind of object at its
// MIF position with its colours, in a package the schema accepts, with the embedded images in
// it, and a preview that draws them.
#include <gtest/gtest.h>

#include <filesystem>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "GroupItem.h"
#include "IdmlPageItemWriter.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "PlacedGraphic.h"
#include "PreviewWriter.h"
#include "SplineItem.h"
#include "Spread.h"
#include "SwatchUtils.h"
#include "TestUtils.h"
#include "TextFrame.h"

#include "host/IdmlPackage.h"
#include "host/IdmlSchema.h"
#include "host/PreviewImage.h"

namespace {

class MifGraphicsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UIDRef document;
        PMString message;
        auto path = std::filesystem::path(TESSEL_TEST_DATA_DIR) / "graphics.mif";
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        db = document.GetDataBase();
        const Page* page = db->Get<Page>(db->GetDocument()->GetPages().at(0));
        origin = {page->boundsInSpread.left, page->boundsInSpread.top};
        spread = db->Get<Spread>(page->spread);
    }
    void TearDown() override
    {
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    const PageItem* Item(size_t index) const { return index < spread->pageItems.size() ? db->Get<PageItem>(spread->pageItems[index]) : nullptr; }
    void ExpectAt(size_t index, const PMRect& expected) const
    {
        const PageItem* item = Item(index);
        ASSERT_TRUE(item) << index;
        PMRect b = item->GetBoundsInSpread();
        EXPECT_NEAR(b.left - origin.x, expected.left, 0.01) << index;
        EXPECT_NEAR(b.top - origin.y, expected.top, 0.01) << index;
        EXPECT_NEAR(b.right - origin.x, expected.right, 0.01) << index;
        EXPECT_NEAR(b.bottom - origin.y, expected.bottom, 0.01) << index;
    }

    DataBase* db = nullptr;
    const Spread* spread = nullptr;
    PMPoint origin;
};

} // namespace

TEST_F(MifGraphicsFileTest, EveryObjectAtItsPlaceWithItsColours)
{
    ASSERT_EQ(spread->pageItems.size(), 15u);   // the flow has no TextRect, so no frame
    ExpectAt(0, PMRect(72, 72, 216, 144));
    ExpectAt(1, PMRect(252, 72, 396, 144));
    ExpectAt(2, PMRect(432, 72, 540, 144));
    ExpectAt(4, PMRect(252, 180, 396, 252));   // the polygon
    ExpectAt(5, PMRect(432, 200, 540, 250));   // the polyline
    ExpectAt(10, PMRect(252, 432, 396, 504));  // the linked image
    ExpectAt(11, PMRect(432, 432, 504, 504));  // the embedded images
    ExpectAt(12, PMRect(432, 540, 504, 612));
    ExpectAt(14, PMRect(400, 700, 450, 720));  // invisible, but pushing text away
    UID red = SwatchUtils::FindSwatch(*db, PMString("Red"));
    EXPECT_EQ(Item(0)->graphics.fillColor, red);
    EXPECT_EQ(Item(0)->graphics.fillTint, 30);
    // The ellipse turns 30 degrees about its centre, which stays where it was.
    PMRect ellipse = Item(3)->GetBoundsInSpread();
    EXPECT_NEAR((ellipse.left + ellipse.right) / 2 - origin.x, 144, 0.01);
    EXPECT_NEAR((ellipse.top + ellipse.bottom) / 2 - origin.y, 216, 0.01);
    EXPECT_GT(ellipse.Height(), 72.5);
    EXPECT_EQ(Item(5)->graphics.startLineEnd, LineEnd::kSimpleArrowHead);
    EXPECT_TRUE(dynamic_cast<const TextFrame*>(Item(8)) && dynamic_cast<const TextFrame*>(Item(9)));
    EXPECT_TRUE(dynamic_cast<const GroupItem*>(Item(13)));
    const auto* first = db->Get<PlacedGraphic>(dynamic_cast<const SplineItem*>(Item(11))->graphic);
    const auto* second = db->Get<PlacedGraphic>(dynamic_cast<const SplineItem*>(Item(12))->graphic);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->file.GetPath(), second->file.GetPath());
    EXPECT_EQ(first->file.GetFileName(), PMString("graphicsimage1.tif"));
    EXPECT_FALSE(std::filesystem::exists(first->file.GetPath()));
}

TEST_F(MifGraphicsFileTest, PackageHoldsEveryKindAndValidates)
{
    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    ASSERT_TRUE(package.IsOpen()) << package.GetError();
    std::string spreadXml;
    for (const std::string& name : package.GetEntryNames())
        if (name.rfind("Spreads/", 0) == 0) spreadXml += package.Entry(name);
    for (const char* element : {"<Rectangle ", "<Oval ", "<Polygon ", "<GraphicLine ", "<Group ", "<TextFrame ", "<Image ", "<Link ",
                                "<Contents>", "TextWrapPreference", "LeftLineEnd=\"SimpleArrowHead\"", "CornerOption=\"RoundedCorner\"",
                                "LinkResourceURI=\"file:///", "StoredState=\"Embedded\"", "TesselImported"})
        EXPECT_NE(spreadXml.find(element), std::string::npos) << element;
    EXPECT_TRUE(IdmlSchema::Validates(bytes));
}

TEST_F(MifGraphicsFileTest, PreviewDrawsFillsAndImages)
{
    PreviewOptions options;
    options.dpi = 72;
    std::string png;
    ASSERT_EQ(PreviewWriter::BuildPngs(*db, options, [&](int32, std::string_view image) {
                  png = std::string(image);
                  return kSuccess;
              }, nullptr),
              kSuccess);
    PreviewImage image(png);
    ASSERT_TRUE(image.IsValid());
    int r = 0, g = 0, b = 0;
    image.Pixel(144, 108, r, g, b);   // the 30 % red rectangle
    EXPECT_GT(r, 200);
    EXPECT_LT(g, 220);
    image.Pixel(324, 468, r, g, b);   // the linked PNG, blue-green
    EXPECT_LT(r, 60);
    EXPECT_GT(b, 200);
    // Its edges stay sharp: no pale fringe inside, nothing outside.
    image.Pixel(253, 433, r, g, b);
    EXPECT_LT(r, 60);
    EXPECT_FALSE(image.IsInk(250, 430));
    // The embedded TIFF (2 x 2 pixels: red, green; blue, yellow), scaled to 72 pt.
    for (int top : {432, 540}) {
        image.Pixel(436, top + 4, r, g, b);
        EXPECT_TRUE(r > 200 && g < 60 && b < 60) << r << " " << g << " " << b;
        image.Pixel(500, top + 4, r, g, b);
        EXPECT_TRUE(r < 60 && g > 200 && b < 60) << r << " " << g << " " << b;
        image.Pixel(436, top + 68, r, g, b);
        EXPECT_TRUE(r < 60 && g < 60 && b > 200) << r << " " << g << " " << b;
        image.Pixel(500, top + 68, r, g, b);
        EXPECT_TRUE(r > 200 && g > 200 && b < 60) << r << " " << g << " " << b;
    }
}

TEST(IdmlPageItemWriterTest, Base64AndFileURI)
{
    EXPECT_EQ(IdmlPageItemWriter::Base64({}), "");
    EXPECT_EQ(IdmlPageItemWriter::Base64({'M'}), "TQ==");
    EXPECT_EQ(IdmlPageItemWriter::Base64({'M', 'a'}), "TWE=");
    EXPECT_EQ(IdmlPageItemWriter::Base64({'M', 'a', 'n', 0xFF}), "TWFu/w==");
    EXPECT_EQ(IdmlPageItemWriter::FileURI("/a b/c%d.tif"), "file:///a%20b/c%25d.tif");
}
