// The IDML of graphic page items: painting attributes, wrap, groups with their children inside,
// embedded graphics with their bytes and link, and an import mark, in a package that lints clean.
#include <gtest/gtest.h>

#include "GroupItem.h"
#include "IdmlWriter.h"
#include "PageItemCommands.h"
#include "PlacedGraphic.h"
#include "SwatchUtils.h"
#include "TextFrameFixture.h"

#include "host/IdmlPackage.h"
#include "host/IdmlSchema.h"

namespace {

class IdmlPageItemWriterFixture : public TextFrameFixture {
protected:
    Spread& TheSpread() const { return *db->Get<Spread>(db->GetDocument()->spreads.at(0)); }
    SplineItem& AddSpline(SplineKind kind, PMRect bounds)
    {
        SplineItem& item = *db->Create<SplineItem>();
        item.kind = kind;
        item.spread = TheSpread().GetUID();
        item.pathBounds = bounds;
        TheSpread().pageItems.push_back(item.GetUID());
        return item;
    }
    std::string SpreadXml(std::string& bytes) const
    {
        EXPECT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
        IdmlPackage package = IdmlPackage::FromBytes(bytes);
        EXPECT_TRUE(package.IsOpen());
        EXPECT_TRUE(package.Check().empty());
        std::string xml;
        for (const std::string& name : package.GetEntryNames())
            if (name.rfind("Spreads/", 0) == 0) xml += package.Entry(name);
        return xml;
    }
};

} // namespace

TEST_F(IdmlPageItemWriterFixture, Items_PaintingWrapGroupAndEmbeddedImage)
{
    SplineItem& rect = AddSpline(SplineKind::kRectangle, PMRect(0, 0, 100, 50));
    rect.graphics.fillColor = SwatchUtils::GetBlackSwatch(*db);
    rect.graphics.fillTint = 30;
    rect.graphics.strokeWeight = 2;
    rect.graphics.wrapMode = TextWrapMode::kBoundingBox;
    rect.graphics.wrapMargins = PMRect(6, 6, 6, 6);
    rect.importMark = true;
    SplineItem& oval = AddSpline(SplineKind::kOval, PMRect(0, 0, 40, 40));
    PlacedGraphic& graphic = *db->Create<PlacedGraphic>();
    graphic.frame = rect.GetUID();
    graphic.format = "TIFF";
    graphic.file = IDFile(std::filesystem::path("/tmp/x y.tif"));
    graphic.embedded = true;
    graphic.data = {'I', 'I', '*', 0};
    graphic.graphicBounds = PMRect(0, 0, 2, 2);
    rect.graphic = graphic.GetUID();
    auto groupCmd = std::make_shared<GroupCmd>();
    UIDList items(db);
    items.Append(oval.GetUID());
    groupCmd->SetItemList(items);
    ASSERT_EQ(CmdUtils::ProcessCommand(groupCmd), kSuccess);
    std::string bytes;
    std::string xml = SpreadXml(bytes);
    for (const char* text : {"FillColor=\"Color/Black\"", "FillTint=\"30\"", "StrokeColor=\"Swatch/None\"", "StrokeWeight=\"2\"",
                             "TextWrapMode=\"BoundingBoxTextWrap\"", "<TextWrapOffset Top=\"6\" Left=\"6\" Bottom=\"6\" Right=\"6\"",
                             "<Contents>", "SUkqAA==", "LinkResourceURI=\"file:///tmp/x%20y.tif\"",
                             "StoredState=\"Embedded\"", "Key=\"TesselImported\""})
        EXPECT_NE(xml.find(text), std::string::npos) << text;
    // The oval stands inside its group, not beside it.
    size_t group = xml.find("<Group "), ovalAt = xml.find("<Oval "), groupEnd = xml.find("</Group>");
    EXPECT_TRUE(group < ovalAt && ovalAt < groupEnd) << xml;
    EXPECT_TRUE(IdmlSchema::Validates(bytes));
}

TEST_F(IdmlPageItemWriterFixture, Wrap_AContourNamesWhatItFollowsABoxNamesNoContour)
{
    SplineItem& oval = AddSpline(SplineKind::kOval, PMRect(0, 0, 80, 60));
    oval.graphics.wrapMode = TextWrapMode::kContour;
    oval.graphics.wrapForm = TextWrapForm::kGraphicFrame;
    oval.graphics.wrapMargins = PMRect(4, 4, 4, 4);
    std::string bytes;
    std::string xml = SpreadXml(bytes);
    size_t wrap = xml.find("<TextWrapPreference TextWrapMode=\"Contour\"");
    ASSERT_NE(wrap, std::string::npos) << xml;
    size_t contour = xml.find("<ContourOption ContourType=\"GraphicFrame\"", wrap);
    EXPECT_NE(contour, std::string::npos) << xml;
    // The contour follows the offsets, inside the wrap preference.
    EXPECT_LT(xml.find("<TextWrapOffset", wrap), contour);
    EXPECT_LT(contour, xml.find("</TextWrapPreference>", wrap));
    EXPECT_TRUE(IdmlSchema::Validates(bytes));

    oval.graphics.wrapMode = TextWrapMode::kBoundingBox;
    EXPECT_EQ(SpreadXml(bytes).find("<ContourOption"), std::string::npos);
}
