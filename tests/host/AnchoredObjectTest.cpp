// Page items anchored in stories: the commands that anchor them, where the composer sets them
// for each position (inline, above line, custom), the room they take, text wrap around items
// of the spread, and the package that keeps them in their story.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "AnchoredObjectCommands.h"
#include "AnchorLayout.h"
#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "PageItemCommands.h"
#include "TextCommands.h"
#include "TextWrap.h"

#include "host/IdmlPackage.h"
#include "host/TextFrameFixture.h"

namespace {

class AnchoredObjectTest : public TextFrameFixture {
protected:
    // A rectangle of `width` x `height` on the first spread.
    UID AddRectangle(PMReal width, PMReal height, PMReal x = 0, PMReal y = 0)
    {
        auto createSplineCmd = std::make_shared<CreateSplineCmd>();
        createSplineCmd->SetItemList(UIDList(UIDRef(db, db->GetDocument()->spreads.at(0))));
        createSplineCmd->bounds = PMRect(0, 0, width, height);
        createSplineCmd->transform = PMMatrix::Translation(x, y);
        EXPECT_EQ(CmdUtils::ProcessCommand(createSplineCmd), kSuccess);
        return createSplineCmd->GetItemList().At(0);
    }
    ErrorCode Process(const std::shared_ptr<DocCommand>& command, UID target)
    {
        command->SetItemList(UIDList(UIDRef(db, target)));
        return CmdUtils::ProcessCommand(command);
    }
    // Takes `item` off its spread and anchors it at `index` of `frame`'s story with `settings`.
    void Anchor(UID frame, int32 index, UID item, const AnchoredObjectSettings& settings = {})
    {
        ASSERT_EQ(Process(std::make_shared<RemoveFromHierarchyCmd>(), item), kSuccess);
        auto insert = std::make_shared<InsertAnchoredObjectCmd>();
        insert->index = index;
        insert->item = item;
        ASSERT_EQ(Process(insert, Frame(frame).story), kSuccess);
        auto change = std::make_shared<ChangeAnchoredObjectDataCmd>();
        change->anchoredObjectData = settings;
        ASSERT_EQ(Process(change, item), kSuccess);
    }
    const ComposedFrame& Composed(UID frame) { return ComposedAfresh(frame).GetFrame(0); }
    const Spread& FirstSpread() const { return *db->Get<Spread>(db->GetDocument()->spreads.at(0)); }
};

TEST_F(AnchoredObjectTest, AnItemIsAnchoredOnceOffItsSpreadAndGoesWithItsText)
{
    UID frame = AddFrame(200, 200);
    AddLines(frame, 1);
    UID item = AddRectangle(50, 20);
    // Still on its spread: refused.
    auto early = std::make_shared<InsertAnchoredObjectCmd>();
    early->item = item;
    EXPECT_EQ(Process(early, Frame(frame).story), kInvalidParameterError);

    Anchor(frame, 4, item);
    const TextModel& model = StoryOf(frame).textModel;
    EXPECT_EQ(model.GetChar(4), kTextChar_ObjectReplacement);
    EXPECT_EQ(model.GetOwnedItem(4), item);
    EXPECT_EQ(db->Get<PageItem>(item)->anchorStory, Frame(frame).story);
    EXPECT_EQ(std::count(FirstSpread().pageItems.begin(), FirstSpread().pageItems.end(), item), 0);
    // A second anchor for the same item is refused, the text unchanged.
    auto again = std::make_shared<InsertAnchoredObjectCmd>();
    again->item = item;
    EXPECT_EQ(Process(again, Frame(frame).story), kInvalidParameterError);
    EXPECT_EQ(model.GetText(0, model.TotalLength()), u"Line\uFFFC 1\r");
    // Bad offsets are refused.
    auto change = std::make_shared<ChangeAnchoredObjectDataCmd>();
    change->anchoredObjectData.xOffset = std::numeric_limits<PMReal>::infinity();
    EXPECT_EQ(Process(change, item), kInvalidParameterError);

    auto deleteCmd = std::make_shared<DeleteTextCmd>();
    deleteCmd->index = 3;
    deleteCmd->length = 2;
    ASSERT_EQ(Process(deleteCmd, Frame(frame).story), kSuccess);
    EXPECT_EQ(db->Get<PageItem>(item), nullptr);
}

TEST_F(AnchoredObjectTest, AnInlineItemIsACharacterAsWideAsItStandingOnTheRaisedBaseline)
{
    UID frame = AddFrame(300, 200);
    AddLines(frame, 2);
    const PMReal plainBaseline = Composed(frame).lines.at(0).baseline;
    UID item = AddRectangle(50, 30);
    AnchoredObjectSettings inline_;
    inline_.yOffset = 4;
    Anchor(frame, 0, item, inline_);
    const ComposedFrame& composed = Composed(frame);
    ASSERT_EQ(composed.anchors.size(), 1u);
    const PlacedAnchor& placed = composed.anchors.front();
    const ComposedLine& line = composed.lines.at(0);
    EXPECT_EQ(placed.index, 0);
    EXPECT_NEAR(placed.bounds.left, line.left, 1e-6);
    EXPECT_NEAR(placed.bounds.bottom, line.baseline - 4, 1e-6);
    EXPECT_NEAR(placed.bounds.Height(), 30, 1e-6);
    // The line is pushed down to hold it, and the text after it moves right by its width.
    EXPECT_GT(line.baseline, plainBaseline + 20);
    ASSERT_GE(line.runs.size(), 2u);
    EXPECT_NEAR(line.runs.at(1).x, line.left + 50, 1e-6);
    EXPECT_GT(composed.lines.at(1).baseline - line.baseline, 0);
}

TEST_F(AnchoredObjectTest, AnItemAboveItsLineTakesRoomAcrossTheColumn)
{
    UID frame = AddFrame(300, 300);
    AddLines(frame, 2);
    const PMReal plainGap = Composed(frame).lines.at(1).baseline - Composed(frame).lines.at(0).baseline;
    UID item = AddRectangle(100, 40);
    AnchoredObjectSettings above;
    above.position = AnchorPosition::kAboveLine;
    above.horizontalAlignment = AnchorAlignment::kCenter;
    above.spaceAbove = 3;
    above.yOffset = 2;   // after it
    Anchor(frame, 7, item, above);   // the start of the second paragraph
    const ComposedFrame& composed = Composed(frame);
    ASSERT_EQ(composed.anchors.size(), 1u);
    const PMRect& box = composed.anchors.front().bounds;
    const ComposedLine& first = composed.lines.at(0);
    const ComposedLine& second = composed.lines.at(1);
    EXPECT_NEAR(second.baseline - first.baseline, plainGap + 45, 1e-6);
    EXPECT_NEAR(box.left, 100, 1e-6);   // centred across the 300 pt column
    EXPECT_GT(box.top, first.baseline);
    EXPECT_LT(box.bottom, second.baseline - 5);
}

TEST_F(AnchoredObjectTest, ACustomItemStandsBesideItsReferenceAndTakesNoRoom)
{
    UID frame = AddFrame(300, 300, 2);
    AddLines(frame, 3);
    const PMReal plainBaseline = Composed(frame).lines.at(1).baseline;
    UID item = AddRectangle(40, 20);
    AnchoredObjectSettings custom;
    custom.position = AnchorPosition::kAnchored;
    custom.horizontalReference = AnchorHorizontalReference::kColumnEdge;
    custom.horizontalAlignment = AnchorAlignment::kLeft;
    custom.anchorPoint = AnchorPoint::kTopRight;
    custom.verticalReference = AnchorVerticalReference::kLineBaseline;
    custom.xOffset = -6;
    custom.yOffset = -3;
    Anchor(frame, 8, item, custom);   // in the second line
    const ComposedFrame& composed = Composed(frame);
    ASSERT_EQ(composed.anchors.size(), 1u);
    const PMRect& box = composed.anchors.front().bounds;
    EXPECT_NEAR(composed.lines.at(1).baseline, plainBaseline, 1e-6);
    EXPECT_NEAR(box.right, -6, 1e-6);   // its right edge 6 pt left of the column
    EXPECT_NEAR(box.top, plainBaseline - 3, 1e-6);

    // Against the bottom of the text frame, centred.
    custom.horizontalReference = AnchorHorizontalReference::kTextFrame;
    custom.horizontalAlignment = AnchorAlignment::kCenter;
    custom.verticalReference = AnchorVerticalReference::kTextFrame;
    custom.verticalAlignment = AnchorVerticalAlignment::kBottom;
    custom.anchorPoint = AnchorPoint::kBottomCenter;
    custom.xOffset = custom.yOffset = 0;
    auto change = std::make_shared<ChangeAnchoredObjectDataCmd>();
    change->anchoredObjectData = custom;
    ASSERT_EQ(Process(change, item), kSuccess);
    const PMRect& bottom = Composed(frame).anchors.front().bounds;
    EXPECT_NEAR(bottom.left, 130, 1e-6);
    EXPECT_NEAR(bottom.bottom, 300, 1e-6);

    // Where it stands on the spread: the frame's place plus its place in the frame.
    PMMatrix placed;
    UID spread = kInvalidUID;
    ASSERT_TRUE(AnchorLayout::PlacedTransform(*db, *db->Get<PageItem>(item), placed, &spread));
    EXPECT_EQ(spread, FirstSpread().GetUID());
    PMPoint topLeft = placed.Transform({0, 0});
    EXPECT_NEAR(topLeft.x, Frame(frame).itemTransform.tx + 130, 1e-6);
    EXPECT_NEAR(topLeft.y, Frame(frame).itemTransform.ty + 280, 1e-6);
}

TEST_F(AnchoredObjectTest, AnInlineItemWiderThanItsColumnStandsOutOfItRatherThanOversetTheStory)
{
    UID frame = AddFrame(100, 300);
    AddLines(frame, 3);
    Anchor(frame, 7, AddRectangle(400, 20));
    const FrameList& list = ComposedAfresh(frame);
    EXPECT_FALSE(list.Overflows());
    EXPECT_EQ(list.GetFrame(0).anchors.size(), 1u);
}

TEST_F(AnchoredObjectTest, AnchoredTextFramesNestAndAreFoundThroughEachLevel)
{
    UID frame = AddFrame(300, 400);
    AddLines(frame, 1);
    // Frames anchored in frames, 50 deep, each 10 pt right of the one it stands in.
    UID story = Frame(frame).story;
    UID deepest = kInvalidUID;
    for (int32 level = 0; level < 50; ++level) {
        auto create = std::make_shared<CreateAnchoredObjectCmd>();
        create->rangeData = TextRange{0, 0};
        create->width = 100;
        create->height = 20;
        create->anchoredObjectData.position = AnchorPosition::kAnchored;
        create->anchoredObjectData.horizontalReference = AnchorHorizontalReference::kAnchorLocation;
        create->anchoredObjectData.xOffset = 10;
        ASSERT_EQ(Process(create, story), kSuccess) << level;
        deepest = create->uidData;
        story = Frame(deepest).story;
    }
    TextComposer::Get().ComposeAll(*db);
    PMMatrix placed;
    UID spread = kInvalidUID;
    ASSERT_TRUE(AnchorLayout::PlacedTransform(*db, Frame(deepest), placed, &spread));
    EXPECT_EQ(spread, FirstSpread().GetUID());
    EXPECT_NEAR(placed.Transform({0, 0}).x, Frame(frame).itemTransform.tx + 500, 1e-6);
}

TEST_F(AnchoredObjectTest, TextKeepsOffTheBoxOfAnItemThatPushesItAway)
{
    UID frame = AddFrame(300, 300);
    AddLines(frame, 10);
    const TextFrame& f = Frame(frame);
    // A box over the left of the first 30 pt: the lines there start to its right.
    UID left = AddRectangle(100, 30, f.itemTransform.tx, f.itemTransform.ty);
    auto wrap = std::make_shared<StandOffModeCmd>();
    wrap->mode = TextWrapMode::kBoundingBox;
    ASSERT_EQ(Process(wrap, left), kSuccess);
    const ComposedFrame& beside = Composed(frame);
    EXPECT_NEAR(beside.lines.at(0).left, 100, 1e-6);
    const ComposedLine* below = nullptr;
    for (const ComposedLine& line : beside.lines)
        if (line.baseline - line.ascent >= 30) {
            below = &line;
            break;
        }
    ASSERT_NE(below, nullptr);
    EXPECT_NEAR(below->left, 0, 1e-6);

    // Across the whole column, with a margin: the text starts below it.
    db->Get<PageItem>(left)->pathBounds = PMRect(0, 0, 300, 30);
    db->Get<PageItem>(left)->graphics.wrapMargins = PMRect(0, 0, 0, 6);
    const ComposedFrame& pushed = Composed(frame);
    EXPECT_GE(pushed.lines.at(0).baseline - pushed.lines.at(0).ascent, 36 - 1e-6);
    EXPECT_EQ(pushed.lines.at(0).left, 0);

    // A frame that ignores wrap keeps its lines.
    Frame(frame).graphics.ignoreWrap = true;
    EXPECT_LT(Composed(frame).lines.at(0).baseline, 20);
}

TEST_F(AnchoredObjectTest, AContourWrapKeepsTextOffTheItemsOwnOutline)
{
    UID frame = AddFrame(300, 400);
    AddLines(frame, 30);
    const TextFrame& f = Frame(frame);
    // An oval over the left 200 pt of the first 200 pt, its text wrap following its outline.
    UID oval = AddRectangle(200, 200, f.itemTransform.tx, f.itemTransform.ty);
    db->Get<SplineItem>(oval)->kind = SplineKind::kOval;
    auto wrap = std::make_shared<StandOffModeCmd>();
    wrap->mode = TextWrapMode::kContour;
    ASSERT_EQ(Process(wrap, oval), kSuccess);
    auto form = std::make_shared<StandOffFormCmd>();
    form->form = TextWrapForm::kGraphicFrame;
    ASSERT_EQ(Process(form, oval), kSuccess);
    auto lineAt = [](const ComposedFrame& composed, PMReal y) -> const ComposedLine* {
        for (const ComposedLine& line : composed.lines)
            if (line.baseline - line.ascent <= y && line.baseline + line.descent >= y) return &line;
        return nullptr;
    };
    const ComposedFrame& contour = Composed(frame);
    // At the top the oval is narrow: the first line starts where the outline ends within its band,
    // well left of the oval's bounding box; half way down the oval is widest.
    ASSERT_FALSE(contour.lines.empty());
    EXPECT_GT(contour.lines.at(0).left, 100);
    EXPECT_LT(contour.lines.at(0).left, 190);
    const ComposedLine* middle = lineAt(contour, 100);
    ASSERT_NE(middle, nullptr);
    EXPECT_NEAR(middle->left, 200, 0.5);
    // Below the oval the lines take the whole column.
    const ComposedLine* after = lineAt(contour, 210);
    ASSERT_NE(after, nullptr);
    EXPECT_NEAR(after->left, 0, 1e-6);

    // Following the bounding box, every line beside the oval starts at its right edge.
    form->form = TextWrapForm::kBoundingBox;
    ASSERT_EQ(Process(form, oval), kSuccess);
    EXPECT_NEAR(Composed(frame).lines.at(0).left, 200, 1e-6);
    // An unknown form is refused.
    form->form = TextWrapForm(99);
    EXPECT_EQ(Process(form, oval), kInvalidParameterError);
    EXPECT_EQ(db->Get<PageItem>(oval)->graphics.wrapForm, TextWrapForm::kBoundingBox);

    // An oval wider than the column with its margins leaves no room in any band: the text starts
    // below it and its bottom margin, not a few lines down inside it.
    form->form = TextWrapForm::kSameAsClipping;
    ASSERT_EQ(Process(form, oval), kSuccess);
    db->Get<PageItem>(oval)->pathBounds = PMRect(0, 0, 300, 200);
    db->Get<PageItem>(oval)->graphics.wrapMargins = PMRect(200, 0, 200, 6);
    const ComposedFrame& below = Composed(frame);
    ASSERT_FALSE(below.lines.empty());
    EXPECT_GE(below.lines.at(0).baseline - below.lines.at(0).ascent, 206 - 1e-6);
    EXPECT_NEAR(below.lines.at(0).left, 0, 1e-6);
}

TEST_F(AnchoredObjectTest, SpineRelativeItemsStandAwayFromTheSpineOnBothPagesOfASpread)
{
    // A facing document: its second spread holds a left page and a right page.
    for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    auto newDocCmd = std::make_shared<NewDocCmd>();
    newDocCmd->GetData().pagesPerSpread = 2;
    newDocCmd->GetData().numPages = 3;
    ASSERT_EQ(CmdUtils::ProcessCommand(newDocCmd), kSuccess);
    db = newDocCmd->GetItemList().GetDataBase();
    const Spread& spread = *db->Get<Spread>(db->GetDocument()->spreads.at(1));
    ASSERT_EQ(spread.pages.size(), 2u);
    auto frameOn = [&](size_t pageIndex) {
        const Page& page = *db->Get<Page>(spread.pages.at(pageIndex));
        auto createTextFrameCmd = std::make_shared<CreateTextFrameCmd>();
        createTextFrameCmd->SetItemList(UIDList(UIDRef(db, spread.GetUID())));
        createTextFrameCmd->bounds = PMRect(0, 0, 300, 200);
        createTextFrameCmd->transform = PMMatrix::Translation(page.boundsInSpread.left + 100, page.boundsInSpread.top + 72);
        EXPECT_EQ(CmdUtils::ProcessCommand(createTextFrameCmd), kSuccess);
        UID frame = createTextFrameCmd->GetItemList().At(0);
        AddLines(frame, 3);
        return frame;
    };
    const UID leftFrame = frameOn(0), rightFrame = frameOn(1);
    // Beside the text frame, away from the spine, 6 pt off it: right of the text on a right page.
    AnchoredObjectSettings outside;
    outside.position = AnchorPosition::kAnchored;
    outside.horizontalReference = AnchorHorizontalReference::kTextFrame;
    outside.horizontalAlignment = AnchorAlignment::kRight;
    outside.anchorPoint = AnchorPoint::kTopLeft;
    outside.xOffset = 6;
    outside.spineRelative = true;
    const UID onLeft = AddRectangle(40, 20), onRight = AddRectangle(40, 20), fixedRight = AddRectangle(40, 20);
    Anchor(leftFrame, 2, onLeft, outside);
    Anchor(rightFrame, 2, onRight, outside);
    AnchoredObjectSettings right = outside;
    right.spineRelative = false;
    Anchor(leftFrame, 9, fixedRight, right);
    auto placed = [&](UID frame, UID item) {
        for (const PlacedAnchor& anchor : Composed(frame).anchors)
            if (anchor.item == item) return anchor.bounds;
        ADD_FAILURE() << "item " << item << " not placed";
        return PMRect();
    };
    const PMRect rightBox = placed(rightFrame, onRight);
    EXPECT_NEAR(rightBox.left, 306, 1e-6);
    EXPECT_NEAR(rightBox.Width(), 40, 1e-6);
    // On the left page it stands left of the text, as far off it.
    const PMRect leftBox = placed(leftFrame, onLeft);
    EXPECT_NEAR(leftBox.right, -6, 1e-6);
    EXPECT_NEAR(leftBox.top, rightBox.top, 1e-6);
    // Not spine-relative: right of the text on a left page too.
    EXPECT_NEAR(placed(leftFrame, fixedRight).left, 306, 1e-6);

    // Mirroring swaps alignment, anchor point and offset; settings that are not spine-relative,
    // or on a right page, stay as they are.
    AnchoredObjectSettings mirrored = AnchorLayout::SettingsOnPage(outside, true);
    EXPECT_EQ(mirrored.horizontalAlignment, AnchorAlignment::kLeft);
    EXPECT_EQ(mirrored.anchorPoint, AnchorPoint::kTopRight);
    EXPECT_EQ(mirrored.xOffset, -6);
    outside.anchorPoint = AnchorPoint::kBottomCenter;
    outside.horizontalAlignment = AnchorAlignment::kCenter;
    EXPECT_EQ(AnchorLayout::SettingsOnPage(outside, true).anchorPoint, AnchorPoint::kBottomCenter);
    EXPECT_EQ(AnchorLayout::SettingsOnPage(outside, true).horizontalAlignment, AnchorAlignment::kCenter);
    EXPECT_EQ(AnchorLayout::SettingsOnPage(outside, false).xOffset, 6);
    EXPECT_EQ(AnchorLayout::SettingsOnPage(right, true).anchorPoint, AnchorPoint::kTopLeft);
}

TEST(TextWrapTest, ContourStripsFollowTheOutlineWithTheMargins)
{
    // A rectangle is one strip: its bounding box with the margins.
    std::vector<PMRect> box = TextWrap::ContourStrips({{0, 0}, {0, 50}, {100, 50}, {100, 0}}, false, PMRect(2, 3, 4, 5));
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0], PMRect(-2, -3, 104, 55));
    // A right triangle narrows downwards; each strip is as wide as the outline within it.
    std::vector<PMRect> triangle = TextWrap::ContourStrips({{0, 0}, {100, 0}, {0, 100}}, false, PMRect());
    ASSERT_GT(triangle.size(), 50u);
    for (const PMRect& strip : triangle) {
        EXPECT_NEAR(strip.left, 0, 1e-9);
        EXPECT_NEAR(strip.right, 100 - strip.top, 1e-9);
    }
    EXPECT_NEAR(triangle.front().top, 0, 1e-9);
    EXPECT_NEAR(triangle.back().bottom, 100, 1e-9);
    // With margins, a strip reaches the outline below it by the top margin.
    std::vector<PMRect> widened = TextWrap::ContourStrips({{0, 0}, {100, 0}, {0, 100}}, false, PMRect(0, 10, 5, 0));
    EXPECT_NEAR(widened.front().top, -10, 1e-9);
    EXPECT_NEAR(widened.front().right, 105, 1e-9);
    // An open line of one point, and an outline with a coordinate that is not finite.
    EXPECT_EQ(TextWrap::ContourStrips({{5, 5}}, true, PMRect()).size(), 1u);
    EXPECT_TRUE(TextWrap::ContourStrips({{0, 0}, {std::numeric_limits<PMReal>::infinity(), 1}}, false, PMRect()).empty());
    EXPECT_TRUE(TextWrap::ContourStrips({}, false, PMRect()).empty());
}

TEST_F(AnchoredObjectTest, ThePackageKeepsAnchoredItemsInTheirCharacterRunsWithTheirSettings)
{
    UID frame = AddFrame(300, 300);
    AddLines(frame, 1);
    UID item = AddRectangle(40, 20);
    AnchoredObjectSettings side;
    side.position = AnchorPosition::kAnchored;
    side.anchorPoint = AnchorPoint::kTopRight;
    side.horizontalReference = AnchorHorizontalReference::kColumnEdge;
    side.xOffset = -6;
    side.spineRelative = true;
    Anchor(frame, 2, item, side);
    auto head = std::make_shared<CreateAnchoredObjectCmd>();
    head->rangeData = TextRange{0, 0};
    head->width = 80;
    head->height = 30;
    ASSERT_EQ(Process(head, Frame(frame).story), kSuccess);
    StoryOf(head->uidData).textModel.Insert(0, u"Head");
    TextComposer::Get().ComposeAll(*db);

    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    ASSERT_TRUE(package.IsOpen()) << package.GetError();
    EXPECT_EQ(package.Check(), std::vector<std::string>());
    pugi::xml_node story = package.Part(IdmlIds::StoryPart(Frame(frame).story)).child("Story");
    pugi::xml_node rectangle = story.find_node([](pugi::xml_node n) { return std::string(n.name()) == "Rectangle"; });
    ASSERT_TRUE(rectangle);
    EXPECT_STREQ(rectangle.parent().name(), "CharacterStyleRange");
    pugi::xml_node setting = rectangle.child("AnchoredObjectSetting");
    EXPECT_STREQ(setting.attribute("AnchoredPosition").value(), "Anchored");
    EXPECT_STREQ(setting.attribute("AnchorPoint").value(), "TopRightAnchor");
    EXPECT_STREQ(setting.attribute("HorizontalReferencePoint").value(), "ColumnEdge");
    EXPECT_STREQ(setting.attribute("AnchorXoffset").value(), "-6");
    EXPECT_STREQ(setting.attribute("SpineRelative").value(), "true");
    // The head frame stands inline in the story, and its own story is in the package.
    pugi::xml_node headFrame = story.find_node([](pugi::xml_node n) { return std::string(n.name()) == "TextFrame"; });
    ASSERT_TRUE(headFrame);
    EXPECT_STREQ(headFrame.child("AnchoredObjectSetting").attribute("AnchoredPosition").value(), "InlinePosition");
    EXPECT_TRUE(package.HasEntry(IdmlIds::StoryPart(Frame(head->uidData).story)));
    // Neither stands on the spread.
    EXPECT_EQ(std::count(FirstSpread().pageItems.begin(), FirstSpread().pageItems.end(), item), 0);
}

} // namespace
