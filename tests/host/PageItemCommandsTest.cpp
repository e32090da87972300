// The graphic page item commands: what they refuse, grouping in the stacking order, rotation,
// resizing, placing graphic files and embedding them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "GraphicFileFormat.h"
#include "GroupItem.h"
#include "PageItemCommands.h"
#include "PlaceGraphicCommands.h"
#include "PlacedGraphic.h"
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
