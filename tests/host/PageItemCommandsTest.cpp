// The graphic page item commands: what they refuse, grouping in the stacking order, rotation,
// resizing, placing graphic files and embedding them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <tuple>
#include <vector>

#include "GraphicFileFormat.h"
#include "GroupItem.h"
#include "PageItemCommands.h"
#include "PlacedGraphic.h"
#include "PlaceGraphicCommands.h"
#include "SwatchUtils.h"
#include "TempFolder.h"
#include "TextFrameFixture.h"

namespace {

class PageItemCommandsTest : public TextFrameFixture {
protected:
    UIDRef SpreadRef() const { return UIDRef(db, db->GetDocument()->spreads.at(0)); }
    const Spread& TheSpread() const { return *db->Get<Spread>(db->GetDocument()->spreads.at(0)); }
    UID AddRect(PMReal x, PMReal y, PMReal w, PMReal h)
    {
        auto createSplineCmd = std::make_shared<CreateSplineCmd>();
        createSplineCmd->SetItemList(UIDList(SpreadRef()));
        createSplineCmd->bounds = PMRect(0, 0, w, h);
        createSplineCmd->transform = PMMatrix::Translation(x, y);
        return CmdUtils::ProcessCommand(createSplineCmd) == kSuccess ? createSplineCmd->GetItemList().At(0) : kInvalidUID;
    }
    TempFolder mFolder{"placecmd"};
};

} // namespace

TEST_F(PageItemCommandsTest, Create_RefusesWhatCannotBeAnOutline)
{
    auto empty = std::make_shared<CreateSplineCmd>();
    empty->SetItemList(UIDList(SpreadRef()));
    empty->kind = SplineKind::kPolygon;   // no points
    EXPECT_EQ(CmdUtils::ProcessCommand(empty), kInvalidParameterError);
    auto infinite = std::make_shared<CreateSplineCmd>();
    infinite->SetItemList(UIDList(SpreadRef()));
    infinite->kind = SplineKind::kGraphicLine;
    infinite->path = {PMPathPoint({0, 0}), PMPathPoint({INFINITY, 1})};
    EXPECT_EQ(CmdUtils::ProcessCommand(infinite), kInvalidParameterError);
    EXPECT_TRUE(TheSpread().pageItems.empty());
    auto line = std::make_shared<CreateSplineCmd>();
    line->SetItemList(UIDList(SpreadRef()));
    line->kind = SplineKind::kGraphicLine;
    line->path = {PMPathPoint({10, 20}), PMPathPoint({30, 5})};
    ASSERT_EQ(CmdUtils::ProcessCommand(line), kSuccess);
    EXPECT_EQ(db->Get<SplineItem>(line->GetItemList().At(0))->pathBounds, PMRect(10, 5, 30, 20));
}

TEST_F(PageItemCommandsTest, Group_TakesThePlaceOfItsFrontmostMember)
{
    UID a = AddRect(0, 0, 10, 10), b = AddRect(20, 0, 10, 10), c = AddRect(40, 0, 10, 10);
    auto groupCmd = std::make_shared<GroupCmd>();
    UIDList items(db);
    items.Append(b);
    items.Append(a);
    groupCmd->SetItemList(items);
    ASSERT_EQ(CmdUtils::ProcessCommand(groupCmd), kSuccess);
    UID group = groupCmd->GetItemList().At(0);
    EXPECT_EQ(TheSpread().pageItems, (std::vector<UID>{group, c}));
    EXPECT_EQ(db->Get<GroupItem>(group)->children, (std::vector<UID>{a, b}));   // back to front
    EXPECT_EQ(db->Get<GroupItem>(group)->pathBounds, PMRect(0, 0, 30, 10));
    // An item already grouped, or named twice, is refused.
    auto again = std::make_shared<GroupCmd>();
    again->SetItemList(items);
    EXPECT_EQ(CmdUtils::ProcessCommand(again), kInvalidParameterError);
}

TEST_F(PageItemCommandsTest, TransformAndResize)
{
    UID rect = AddRect(100, 100, 40, 20);
    auto rotate = std::make_shared<TransformPageItemsCmd>();
    rotate->SetItemList(UIDList(UIDRef(db, rect)));
    rotate->transform = TransformPageItemsCmd::RotationAbout({120, 110}, 90);
    ASSERT_EQ(CmdUtils::ProcessCommand(rotate), kSuccess);
    PMRect box = db->Get<PageItem>(rect)->GetBoundsInSpread();
    EXPECT_NEAR(box.left, 110, 1e-9);
    EXPECT_NEAR(box.top, 90, 1e-9);
    auto flat = std::make_shared<TransformPageItemsCmd>();
    flat->SetItemList(UIDList(UIDRef(db, rect)));
    flat->transform = PMMatrix{1, 0, 0, 0, 0, 0};   // not invertible
    EXPECT_EQ(CmdUtils::ProcessCommand(flat), kInvalidParameterError);
    auto resize = std::make_shared<ResizePageItemCmd>();
    resize->SetItemList(UIDList(UIDRef(db, rect)));
    resize->width = 80;
    ASSERT_EQ(CmdUtils::ProcessCommand(resize), kSuccess);
    EXPECT_EQ(db->Get<PageItem>(rect)->pathBounds, PMRect(0, 0, 80, 20));
    resize->width = -1;
    EXPECT_EQ(CmdUtils::ProcessCommand(resize), kInvalidParameterError);
}

TEST_F(PageItemCommandsTest, Attributes_RefuseWhatIsNoSwatchOrPercent)
{
    UID rect = AddRect(0, 0, 10, 10);
    auto apply = std::make_shared<GfxApplyMultAttributesCmd>();
    apply->SetItemList(UIDList(UIDRef(db, rect)));
    apply->attributes.fillTint = 120;
    EXPECT_EQ(CmdUtils::ProcessCommand(apply), kInvalidParameterError);
    apply->attributes.fillTint = 40;
    apply->attributes.fillColor = rect;   // a page item, no swatch
    EXPECT_EQ(CmdUtils::ProcessCommand(apply), kInvalidParameterError);
    apply->attributes.fillColor = SwatchUtils::GetBlackSwatch(*db);
    ASSERT_EQ(CmdUtils::ProcessCommand(apply), kSuccess);
    EXPECT_EQ(db->Get<PageItem>(rect)->graphics.fillTint, 40);
}

TEST_F(PageItemCommandsTest, Place_DetectsTheFileAndEmbedsIt)
{
    const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 3, 0, 5, 0, 0, 0, 0};
    std::ofstream(mFolder / "a.gif", std::ios::binary).write(reinterpret_cast<const char*>(gif), sizeof gif);
    std::ofstream(mFolder / "b.tif") << "text, not a TIFF";
    auto place = [&](const char* name, bool read, ErrorCode& result) {
        auto importAndPlaceCmd = std::make_shared<ImportAndPlaceCmd>();
        importAndPlaceCmd->SetItemList(UIDList(SpreadRef()));
        importAndPlaceCmd->file = IDFile(mFolder / name);
        importAndPlaceCmd->bounds = PMRect(10, 10, 40, 60);
        importAndPlaceCmd->readFile = read;
        result = CmdUtils::ProcessCommand(importAndPlaceCmd);
        return importAndPlaceCmd->placed;
    };
    ErrorCode result = kSuccess;
    UID placed = place("a.gif", true, result);
    ASSERT_EQ(result, kSuccess);
    const PlacedGraphic* graphic = db->Get<PlacedGraphic>(placed);
    ASSERT_TRUE(graphic);
    EXPECT_EQ(graphic->format, "GIF");
    EXPECT_EQ(graphic->graphicBounds, PMRect(0, 0, 3, 5));
    EXPECT_NEAR(graphic->itemTransform.a, 10, 1e-9);   // 3 pixels fill the 30 pt frame
    auto moveLinkCmd = std::make_shared<MoveLinkCmd>();
    moveLinkCmd->SetItemList(UIDList(UIDRef(db, graphic->frame)));
    ASSERT_EQ(CmdUtils::ProcessCommand(moveLinkCmd), kSuccess);
    EXPECT_TRUE(graphic->embedded);
    EXPECT_EQ(graphic->data.size(), sizeof gif);
    place("b.tif", true, result);
    EXPECT_EQ(result, kFailure);
    place("b.tif", false, result);   // not read: taken by its name
    EXPECT_EQ(result, kSuccess);
    place("missing.png", true, result);
    EXPECT_EQ(result, kFileNotFoundError);
    place(".", false, result);   // the folder itself
    EXPECT_EQ(result, kFileNotFoundError);
}

// What InDesign sizes a bitmap by: the resolution the file gives, in the unit it says.
TEST(GraphicFileFormatTest, Detect_ResolutionOfJpegTiffAndBmp)
{
    std::vector<unsigned char> b;
    auto put = [&b](uint32 value, int bytes, bool big) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<unsigned char>(value >> (8 * (big ? bytes - 1 - i : i))));
    };
    auto zeros = [&b](size_t count) { b.insert(b.end(), count, 0); };
    // JFIF in dots a centimetre: 118 and 59 (299.72 and 149.86 an inch), then the frame header.
    b = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 2};
    put(118, 2, true), put(59, 2, true), put(0, 2, true);
    b.insert(b.end(), {0xFF, 0xC0, 0, 17, 8});
    put(4, 2, true), put(8, 2, true), zeros(12);
    GraphicFileFormat jpeg = GraphicFileFormat::Detect(b, PMString("x.jpg"));
    EXPECT_EQ(jpeg.pixelWidth, 8);
    EXPECT_NEAR(jpeg.resolutionX, 299.72, 1e-6);
    EXPECT_NEAR(jpeg.resolutionY, 149.86, 1e-6);
    // A TIFF of 600/2 by 150/1 pixels an inch (the unit it states, 2).
    b = {'I', 'I', '*', 0};
    put(8, 4, false), put(5, 2, false);
    for (auto [tag, type, value] : {std::tuple{256, 3, 8}, {257, 3, 4}, {282, 5, 74}, {283, 5, 82}, {296, 3, 2}})
        put(tag, 2, false), put(type, 2, false), put(1, 4, false), put(value, 4, false);
    put(0, 4, false), put(600, 4, false), put(2, 4, false), put(150, 4, false), put(1, 4, false);
    GraphicFileFormat tiff = GraphicFileFormat::Detect(b, PMString("x.tif"));
    EXPECT_EQ(tiff.pixelHeight, 4);
    EXPECT_NEAR(tiff.resolutionX, 300, 1e-9);
    EXPECT_NEAR(tiff.resolutionY, 150, 1e-9);
    // A BMP of 3937 by 0 pixels a metre: 100 an inch across, and none given down.
    b = {'B', 'M'};
    zeros(12), put(40, 4, false), put(8, 4, false), put(4, 4, false), zeros(12);
    put(3937, 4, false), put(0, 4, false), zeros(8);
    GraphicFileFormat bmp = GraphicFileFormat::Detect(b, PMString("x.bmp"));
    EXPECT_EQ(bmp.pixelWidth, 8);
    EXPECT_NEAR(bmp.resolutionX, 100, 0.01);
    EXPECT_EQ(bmp.resolutionY, 0);
}
