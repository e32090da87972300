// What growing a thread page by page relies on: a frame threaded on at the end of a composed
// story composes on from the old last frame (and gives the lines a fresh composition gives), an
// empty last frame taken out keeps the lines, and pages inserted or deleted in a facing document
// shuffle the pages after them into left and right again, their items with them.
#include <gtest/gtest.h>

#include "DocumentLayout.h"
#include "PageCommands.h"
#include "SpreadLayout.h"
#include "TextFrameFixture.h"

namespace {

class PageGrowthCommandsTest : public TextFrameFixture {
protected:
    // Each frame's first character and length, and its line count.
    static std::vector<std::tuple<int32, int32, size_t>> Layout(const FrameList& list)
    {
        std::vector<std::tuple<int32, int32, size_t>> frames;
        for (const ComposedFrame& frame : list.GetFrames()) frames.emplace_back(frame.start, frame.length, frame.lines.size());
        return frames;
    }
};

// A document of `pages` pages, facing or not.
DataBase* NewDocument(int32 pages, bool facing)
{
    auto newDocCmd = std::make_shared<NewDocCmd>();
    newDocCmd->GetData().numPages = pages;
    newDocCmd->GetData().pagesPerSpread = facing ? 2 : 1;
    EXPECT_EQ(CmdUtils::ProcessCommand(newDocCmd), kSuccess);
    return newDocCmd->GetItemList().GetDataBase();
}

// Which pages are left pages, in document order.
std::vector<bool> Sides(const DataBase& db)
{
    std::vector<bool> sides;
    for (UID uid : db.GetDocument()->GetPages()) sides.push_back(SpreadLayout::IsLeftPage(db, *db.Get<Page>(uid)));
    return sides;
}

} // namespace

TEST_F(PageGrowthCommandsTest, FrameLinkedAtTheEndComposesOnAsAFreshCompositionWould)
{
    PMReal height = HeightOfLines(3) + 1;
    UID a = AddFrame(200, height);
    AddLines(a, 10);
    Story& story = StoryOf(a);
    TextComposer::Get().Compose(story);
    ASSERT_TRUE(story.frameList.Overflows());
    UID last = a;
    // Three lines a frame: the ten lines need three more frames.
    for (int32 i = 0; i < 3; ++i) {
        UID next = AddFrameAt(0, 0, 200, height);
        Link(last, next);
        last = next;
        // The lines before the old last frame stay; composing goes on from it.
        EXPECT_TRUE(story.frameList.IsComposed());
        EXPECT_EQ(story.frameList.GetFirstDamagedFrame(), i);
        EXPECT_EQ(story.frameList.GetFrameCount(), i + 2);
        TextComposer::Get().Compose(story);
        auto resumed = Layout(story.frameList);
        EXPECT_EQ(resumed, Layout(ComposedAfresh(a))) << "after frame " << i + 2;
    }
    EXPECT_FALSE(story.frameList.Overflows());
    // A frame threaded on after text that fits has nothing to compose.
    UID spare = AddFrameAt(0, 0, 200, height);
    Link(last, spare);
    last = spare;
    EXPECT_TRUE(story.frameList.IsCurrent(story.textModel.GetRevision()));
    EXPECT_EQ(story.frameList.GetFrameCount(), 5);
    // The empty last frame taken out leaves the lines as they are.
    ASSERT_TRUE(story.frameList.GetFrames().back().lines.empty());
    DocumentLayout::RemovePageItem(*db, last);
    EXPECT_TRUE(story.frameList.IsComposed());
    EXPECT_EQ(story.frameList.GetFrameCount(), 4);
    EXPECT_FALSE(story.frameList.Overflows());
    // A frame that brings text of its own lays the story out anew, with that text appended.
    UID other = AddFrameAt(0, 0, 200, height);
    AddLines(other, 2);
    UID tail = story.frameList.GetFrameUID(3);
    Link(tail, other);
    EXPECT_FALSE(story.frameList.IsComposed());
    TextComposer::Get().Compose(story);
    EXPECT_EQ(story.frameList.GetFrameCount(), 5);
    // The ten lines and their returns (70), a return, the two lines (13) and the final return.
    EXPECT_EQ(story.textModel.GetThreadRange(0).length, 85);
}

TEST_F(PageGrowthCommandsTest, InsertedAndDeletedPagesShuffleTheFacingPagesAfterThem)
{
    DataBase* doc = NewDocument(3, true);   // [R] [L R]
    std::vector<UID> pages = doc->GetDocument()->GetPages();
    ASSERT_EQ(Sides(*doc), (std::vector<bool>{false, true, false}));
    // A frame on the third page, 50 pt in from its top left corner.
    const Page* third = doc->Get<Page>(pages[2]);
    auto createTextFrameCmd = std::make_shared<CreateTextFrameCmd>();
    createTextFrameCmd->SetItemList(UIDList(UIDRef(doc, third->spread)));
    createTextFrameCmd->bounds = PMRect(0, 0, 100, 100);
    createTextFrameCmd->transform = PMMatrix::Translation(third->boundsInSpread.left + 50, third->boundsInSpread.top + 50);
    ASSERT_EQ(CmdUtils::ProcessCommand(createTextFrameCmd), kSuccess);
    const TextFrame* frame = doc->Get<TextFrame>(createTextFrameCmd->GetItemList().At(0));
    auto placeOnThird = [&]() {
        const Page* page = doc->Get<Page>(pages[2]);
        EXPECT_EQ(frame->spread, page->spread);
        PMRect bounds = frame->GetBoundsInSpread();
        EXPECT_NEAR(bounds.left - page->boundsInSpread.left, 50, 1e-9);
        EXPECT_NEAR(bounds.top - page->boundsInSpread.top, 50, 1e-9);
    };

    auto newPageCmd = std::make_shared<NewPageCmd>();
    newPageCmd->SetItemList(UIDList(UIDRef(doc, pages[0])));
    newPageCmd->numPages = 1;
    ASSERT_EQ(CmdUtils::ProcessCommand(newPageCmd), kSuccess);
    ASSERT_EQ(newPageCmd->GetItemList().Length(), 1);
    UID added = newPageCmd->GetItemList().At(0);
    std::vector<UID> now = doc->GetDocument()->GetPages();
    EXPECT_EQ(now, (std::vector<UID>{pages[0], added, pages[1], pages[2]}));
    EXPECT_EQ(Sides(*doc), (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(doc->GetDocument()->spreads.size(), 3u);
    placeOnThird();

    auto deletePageCmd = std::make_shared<DeletePageCmd>();
    deletePageCmd->SetItemList(UIDList(UIDRef(doc, added)));
    deletePageCmd->boolData = true;
    ASSERT_EQ(CmdUtils::ProcessCommand(deletePageCmd), kSuccess);
    EXPECT_EQ(doc->GetDocument()->GetPages(), pages);
    EXPECT_EQ(Sides(*doc), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(doc->GetDocument()->spreads.size(), 2u);
    placeOnThird();

    // A deleted page takes the items drawn on it along.
    deletePageCmd = std::make_shared<DeletePageCmd>();
    deletePageCmd->SetItemList(UIDList(UIDRef(doc, pages[2])));
    UID frameUID = frame->GetUID();
    ASSERT_EQ(CmdUtils::ProcessCommand(deletePageCmd), kSuccess);
    EXPECT_FALSE(doc->ExistsInDB(frameUID));

    // Pages of a single-sided document each get a spread of their own, in place.
    DataBase* single = NewDocument(2, false);
    std::vector<UID> before = single->GetDocument()->GetPages();
    newPageCmd = std::make_shared<NewPageCmd>();
    newPageCmd->SetItemList(UIDList(UIDRef(single, before[0])));
    newPageCmd->numPages = 2;
    ASSERT_EQ(CmdUtils::ProcessCommand(newPageCmd), kSuccess);
    std::vector<UID> after = single->GetDocument()->GetPages();
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after.front(), before[0]);
    EXPECT_EQ(after.back(), before[1]);
    EXPECT_EQ(single->GetDocument()->spreads.size(), 4u);
    // A master page, or a count out of range, is refused.
    newPageCmd = std::make_shared<NewPageCmd>();
    newPageCmd->SetItemList(UIDList(UIDRef(single, single->Get<MasterSpread>(single->GetDocument()->masterSpreads[0])->pages[0])));
    EXPECT_EQ(CmdUtils::ProcessCommand(newPageCmd), kInvalidParameterError);
    newPageCmd = std::make_shared<NewPageCmd>();
    newPageCmd->SetItemList(UIDList(UIDRef(single, before[0])));
    newPageCmd->numPages = 0;
    EXPECT_EQ(CmdUtils::ProcessCommand(newPageCmd), kInvalidParameterError);
}
