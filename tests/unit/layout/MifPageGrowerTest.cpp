// Pages added for text that overflows an autoconnected flow: how many, on which side, with which
// frames, threaded in order, for several flows, and what stops the growth (the options, the
// limit, a frame that takes no line), and tables whose rows run on over the pages added.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CAlert.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "PageNumbering.h"
#include "Spread.h"
#include "SpreadLayout.h"
#include "Story.h"
#include "TestUtils.h"
#include "TextFrame.h"
#include "WarningsPresenter.h"

#include "../../../bench/MifGenerator.h"

namespace {


// One page of the converted document: its side and its text frames, back to front.
struct PageView {
    UID page;
    bool left;
    std::vector<const TextFrame*> frames;
    PMRect box;   // the page in spread coordinates
};

class MifPageGrowerTest : public ::testing::Test {
protected:
    void SetUp() override { CAlert::SetPresenter(&presenter); }
    void TearDown() override
    {
        CAlert::SetPresenter(nullptr);
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    void Import(const MifGenerator::AutoFlow& flow, const OpenOptions& options = {})
    {
        auto path = mFolder / "grow-test.mif";
        std::ofstream(path, std::ios::binary) << MifGenerator::AutoFlowDocument(flow);
        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message, options), kSuccess)
            << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        db = document.GetDataBase();
    }
    std::vector<PageView> Pages() const
    {
        std::vector<PageView> pages;
        for (UID uid : db->GetDocument()->GetPages()) {
            const Page* page = db->Get<Page>(uid);
            PageView view{uid, SpreadLayout::IsLeftPage(*db, *page), {}, page->boundsInSpread};
            for (UID item : db->Get<Spread>(page->spread)->pageItems)
                if (const TextFrame* frame = db->Get<TextFrame>(item); frame && SpreadLayout::GetDrawingPage(*db, *frame) == uid)
                    view.frames.push_back(frame);
            pages.push_back(view);
        }
        return pages;
    }
    // The frame's outline relative to its page's top left corner.
    static PMRect OnPage(const PageView& page, const TextFrame& frame)
    {
        PMRect b = frame.GetBoundsInSpread();
        return PMRect(b.left - page.box.left, b.top - page.box.top, b.right - page.box.left, b.bottom - page.box.top);
    }
    bool AnyOverset() const
    {
        for (UID uid : db->GetDocument()->stories)
            if (const Story* story = db->Get<Story>(uid); story && story->frameList.Overflows()) return true;
        return false;
    }

    TempFolder mFolder{"grow"};
    WarningsPresenter presenter;
    DataBase* db = nullptr;
};

// The frames of one page after another, each threaded after the one before, all one story.
void ExpectOneThread(const std::vector<PageView>& pages, size_t from, size_t to)
{
    const TextFrame* previous = nullptr;
    for (size_t p = from; p < to; ++p) {
        ASSERT_EQ(pages[p].frames.size(), 1u) << "page " << p;
        const TextFrame* frame = pages[p].frames.front();
        if (previous) {
            EXPECT_EQ(previous->nextFrame, frame->GetUID()) << "page " << p;
            EXPECT_EQ(frame->previousFrame, previous->GetUID()) << "page " << p;
            EXPECT_EQ(frame->story, previous->story) << "page " << p;
        }
        previous = frame;
    }
    if (previous) {
        EXPECT_EQ(previous->nextFrame, kInvalidUID);
    }
}

} // namespace

TEST_F(MifPageGrowerTest, FacingPagesAlternateWithTheirMastersFramesUntilTheTextFits)
{
    Import({.paragraphs = 400});
    std::vector<PageView> pages = Pages();
    ASSERT_GT(pages.size(), 4u);
    EXPECT_FALSE(AnyOverset());
    ExpectOneThread(pages, 0, pages.size());
    UID master = db->GetDocument()->masterSpreads.front();
    PageNumbering numbering(*db);
    ASSERT_EQ(numbering.GetRuns().size(), 1u);
    for (size_t p = 0; p < pages.size(); ++p) {
        // The section's numbering runs on through the new pages.
        EXPECT_EQ(numbering.GetPageName(pages[p].page).GetUTF8String(), std::to_string(p + 1));
        // The first page is a right page; then left and right alternate.
        EXPECT_EQ(pages[p].left, p % 2 == 1) << "page " << p;
        EXPECT_EQ(db->Get<Page>(pages[p].page)->appliedMaster, master) << "page " << p;
        if (p == 0) continue;
        // The master page of the page's side gives the frame: 72 pt in on the left, 108 pt on the right.
        PMRect rect = OnPage(pages[p], *pages[p].frames.front());
        EXPECT_NEAR(rect.left, pages[p].left ? 72 : 108, 1e-6) << "page " << p;
        EXPECT_NEAR(rect.top, 72, 1e-6);
        EXPECT_NEAR(rect.Width(), 432, 1e-6);
        EXPECT_NEAR(rect.Height(), 648, 1e-6);
        EXPECT_EQ(pages[p].frames.front()->columnCount, 1);
    }
    // Every page added holds text: none is left over empty at the end.
    const Story* story = db->Get<Story>(pages.back().frames.front()->story);
    EXPECT_FALSE(story->frameList.GetFrames().back().lines.empty());
    EXPECT_TRUE(presenter.HasLine("Added " + std::to_string(pages.size() - 1) + " pages for the text flow A (autoconnected)."));
    // Spreads pair a left with a right page after the lone first page.
    const std::vector<UID>& spreads = db->GetDocument()->spreads;
    EXPECT_EQ(db->Get<Spread>(spreads.front())->pages.size(), 1u);
    for (size_t s = 1; s + 1 < spreads.size(); ++s) EXPECT_EQ(db->Get<Spread>(spreads[s])->pages.size(), 2u);
}

TEST_F(MifPageGrowerTest, WithoutAMasterFrameNewPagesCopyTheOverflowingFrame)
{
    Import({.paragraphs = 300, .twoSided = false, .masterFrames = false});
    std::vector<PageView> pages = Pages();
    ASSERT_GT(pages.size(), 2u);
    EXPECT_FALSE(AnyOverset());
    ExpectOneThread(pages, 0, pages.size());
    PMRect first = OnPage(pages[0], *pages[0].frames.front());
    for (size_t p = 1; p < pages.size(); ++p) {
        EXPECT_FALSE(pages[p].left);
        PMRect rect = OnPage(pages[p], *pages[p].frames.front());
        EXPECT_NEAR(rect.left, first.left, 1e-6);
        EXPECT_NEAR(rect.top, first.top, 1e-6);
        EXPECT_NEAR(rect.right, first.right, 1e-6);
        EXPECT_NEAR(rect.bottom, first.bottom, 1e-6);
        EXPECT_EQ(pages[p].frames.front()->columnCount, 2);
        EXPECT_NEAR(pages[p].frames.front()->columnGutter, 18, 1e-6);
    }
}

TEST_F(MifPageGrowerTest, OptionsKeepTheLayoutOrLimitTheGrowth)
{
    Import({.paragraphs = 400}, OpenOptions{.addPages = false});
    EXPECT_EQ(Pages().size(), 1u);
    EXPECT_TRUE(AnyOverset());
    EXPECT_FALSE(presenter.Mentions("Added"));
    DocumentList::Close(db);

    presenter.text.clear();
    Import({.paragraphs = 400}, OpenOptions{.addPages = true, .maxAddedPages = 3});
    std::vector<PageView> pages = Pages();
    EXPECT_EQ(pages.size(), 4u);
    ExpectOneThread(pages, 0, pages.size());
    EXPECT_TRUE(AnyOverset());
    EXPECT_TRUE(presenter.HasLine("Added 3 pages for the text flow A (autoconnected)."));
    EXPECT_TRUE(presenter.HasLine("Stopped adding pages for the text flow A at the limit of 3 pages added to a document; the rest of its text stays overset"));
}

TEST_F(MifPageGrowerTest, AFrameTooSmallForALineStopsAtTheFirstPageAndRemovesIt)
{
    Import({.paragraphs = 400, .masterFrameHeight = 0.05});
    std::vector<PageView> pages = Pages();
    EXPECT_EQ(pages.size(), 1u);
    EXPECT_EQ(db->GetDocument()->spreads.size(), 1u);
    EXPECT_TRUE(AnyOverset());
    EXPECT_FALSE(presenter.Mentions("Added"));
    EXPECT_TRUE(presenter.HasLine("Stopped adding pages for the text flow A: a new page took none of its text (a line is wider than the frame, or "
                                  "the frame is too small for a line); that page was removed and the rest of the text stays overset"));
    // The story's frame list holds the frames that are left, and composes on.
    const TextFrame* frame = pages[0].frames.front();
    const Story* story = db->Get<Story>(frame->story);
    ASSERT_EQ(story->frameList.GetFrameCount(), 1);
    EXPECT_EQ(story->frameList.GetFrameUID(0), frame->GetUID());
    EXPECT_EQ(frame->nextFrame, kInvalidUID);
}

TEST_F(MifPageGrowerTest, EachFlowGrowsAfterItsOwnPageAndLaterPagesShift)
{
    Import({.paragraphs = 250, .secondFlowParagraphs = 150});
    std::vector<PageView> pages = Pages();
    EXPECT_FALSE(AnyOverset());
    // Flow A's pages, then B's body page and B's pages: two threads, in page order.
    ASSERT_GT(pages.size(), 4u);
    UID storyA = pages.front().frames.front()->story;
    size_t firstB = 0;
    while (firstB < pages.size() && pages[firstB].frames.front()->story == storyA) ++firstB;
    ASSERT_GT(firstB, 1u);
    ASSERT_LT(firstB + 1, pages.size());
    ExpectOneThread(pages, 0, firstB);
    ExpectOneThread(pages, firstB, pages.size());
    EXPECT_EQ(pages[firstB].frames.front()->previousFrame, kInvalidUID);
    // B's own frame moved with its page: it keeps its place on the page.
    PMRect bodyFrame = OnPage(pages[firstB], *pages[firstB].frames.front());
    EXPECT_NEAR(bodyFrame.left, 72, 1e-6);
    EXPECT_NEAR(bodyFrame.top, 72, 1e-6);
    EXPECT_NEAR(bodyFrame.Width(), 468, 1e-6);
    for (size_t p = 0; p < pages.size(); ++p) EXPECT_EQ(pages[p].left, p % 2 == 1) << "page " << p;
    EXPECT_TRUE(presenter.HasLine("Added " + std::to_string(firstB - 1) + " pages for the text flow A (autoconnected)."));
    EXPECT_TRUE(presenter.HasLine("Added " + std::to_string(pages.size() - firstB - 1) + " pages for the text flow B (autoconnected)."));
}

// A table's rows run on over as many new pages as they need, like lines of text: every body row
// shows once, in order, under the header row repeated at the head of each part, and the text
// after the table follows it.
TEST_F(MifPageGrowerTest, ATableRunsOnOverThePagesItsRowsNeed)
{
    for (int rows : {150, 700}) {
        SCOPED_TRACE(rows);
        presenter.text.clear();
        Import({.paragraphs = 3, .tableRows = rows});
        std::vector<PageView> pages = Pages();
        EXPECT_FALSE(AnyOverset()) << presenter.text;
        EXPECT_FALSE(presenter.Mentions("Stopped adding pages"));
        ExpectOneThread(pages, 0, pages.size());
        const Story* story = db->Get<Story>(pages.front().frames.front()->story);
        std::vector<int32> bodyRows;
        size_t framesWithParts = 0;
        for (const ComposedFrame& frame : story->frameList.GetFrames()) {
            if (!frame.tableParts.empty()) ++framesWithParts;
            for (const ComposedTablePart& part : frame.tableParts) {
                ASSERT_FALSE(part.rows.empty());
                EXPECT_EQ(part.rows.front(), 0);  // the header row heads every part
                bodyRows.insert(bodyRows.end(), part.rows.begin() + 1, part.rows.end());
            }
        }
        ASSERT_EQ(bodyRows.size(), static_cast<size_t>(rows));
        for (int32 r = 0; r < rows; ++r) ASSERT_EQ(bodyRows[static_cast<size_t>(r)], r + 1);
        // The table fills page after page; the last pages hold the rest of it and the text after.
        EXPECT_GE(framesWithParts + 1, pages.size());
        EXPECT_GT(pages.size(), static_cast<size_t>(rows) / 60);
        EXPECT_FALSE(story->frameList.GetFrames().back().lines.empty());
        EXPECT_TRUE(presenter.HasLine("Added " + std::to_string(pages.size() - 1) + " pages for the text flow A (autoconnected)."));
        DocumentList::Close(db);
    }
}
