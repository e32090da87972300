// The AFrames catalog built in advance: frames packed in rows on the scratch page, a new row and
// a new scratch spread when the next does not fit, frames too large for a page left out, and
// frames without ID built but never found.
#include <gtest/gtest.h>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "NewDocCmd.h"
#include "PageCommands.h"
#include "PageItem.h"
#include "Spread.h"
#include "TestUtils.h"

#include "layout/MifAnchoredFrameBuilder.h"
#include "layout/MifGraphicImporter.h"

namespace {

class MifAnchoredFrameBuilderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto newDocCmd = std::make_shared<NewDocCmd>();
        newDocCmd->GetData().pageSize = PMRect(0, 0, 612, 792);
        ASSERT_EQ(CmdUtils::ProcessCommand(newDocCmd), kSuccess);
        db = newDocCmd->GetItemList().GetDataBase();
        MifGraphicImporter::Setup graphicsSetup;
        graphicsSetup.db = db;
        graphics.Init(graphicsSetup);
        MifAnchoredFrameBuilder::Setup setup;
        setup.db = db;
        setup.graphics = &graphics;
        setup.lastSpread = [this]() { return scratch.empty() ? kInvalidUID : scratch.back(); };
        setup.newSpread = [this]() {
            auto newSpreadCmd = std::make_shared<NewSpreadCmd>();
            newSpreadCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
            newSpreadCmd->position = -1;
            newSpreadCmd->numPages = 1;
            EXPECT_EQ(CmdUtils::ProcessCommand(newSpreadCmd), kSuccess);
            scratch.push_back(newSpreadCmd->GetItemList().At(0));
            builder.ResetCursor();
            return scratch.back();
        };
        builder.Init(setup);
        setup.newSpread();
    }
    void TearDown() override
    {
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    // Builds the frames of `aframes` (the body of an AFrames statement).
    void Build(const std::string& aframes)
    {
        parsed = std::make_unique<ParsedMif>("<MIFFile 9.00>\n<AFrames " + aframes + ">\n");
        const MifObject* catalog = parsed->root->GetObject(kMifAFrames);
        ASSERT_NE(catalog, nullptr);
        builder.BuildAll(*catalog);
    }
    static std::string Frame(int32 id, int32 width, int32 height)
    {
        std::string shape = "<ShapeRect 10pt 20pt " + std::to_string(width) + "pt " + std::to_string(height) + "pt>";
        return "<Frame " + (id ? "<ID " + std::to_string(id) + "> " : std::string()) + "<Pen 0> <Fill 15> " + shape + "\n" +
               " <Rectangle <Pen 0> <Fill 0> <ShapeRect 0pt 0pt 10pt 10pt>>>\n";
    }
    // Where the item of `id` stands on its scratch page, and that page's spread.
    PMRect OnPage(int32 id, UID* spread = nullptr) const
    {
        const PageItem* item = db->Get<PageItem>(builder.GetItemOfId(id).GetUID());
        if (!item) return PMRect();
        const Spread* on = db->Get<Spread>(item->spread);
        const Page* page = on ? db->Get<Page>(on->pages.at(0)) : nullptr;
        if (spread) *spread = item->spread;
        PMRect b = item->GetBoundsInSpread();
        const PMRect& p = page ? page->boundsInSpread : PMRect();
        return PMRect(b.left - p.left, b.top - p.top, b.right - p.left, b.bottom - p.top);
    }

    DataBase* db = nullptr;
    MifGraphicImporter graphics;
    MifAnchoredFrameBuilder builder;
    std::vector<UID> scratch;
    std::unique_ptr<ParsedMif> parsed;
};

TEST_F(MifAnchoredFrameBuilderTest, FramesArePackedInRowsFiveApart)
{
    Build(Frame(1, 200, 100) + Frame(2, 300, 50) + Frame(3, 400, 120));
    EXPECT_NEAR(OnPage(1).left, 0, 1e-6);
    EXPECT_NEAR(OnPage(1).top, 0, 1e-6);
    EXPECT_NEAR(OnPage(1).Width(), 200, 1e-6);
    EXPECT_NEAR(OnPage(2).left, 205, 1e-6);
    EXPECT_NEAR(OnPage(2).top, 0, 1e-6);
    // 205 + 300 + 5 + 400 is more than the page is wide: a row below the tallest (100 + 5).
    EXPECT_NEAR(OnPage(3).left, 0, 1e-6);
    EXPECT_NEAR(OnPage(3).top, 105, 1e-6);
    EXPECT_EQ(scratch.size(), 1u);
    EXPECT_NEAR(builder.GetCursor().x, 405, 1e-6);
    EXPECT_NEAR(builder.GetRowHeight(), 125, 1e-6);
}

TEST_F(MifAnchoredFrameBuilderTest, ARowThatDoesNotFitDownGoesToANewScratchSpread)
{
    Build(Frame(1, 600, 300) + Frame(2, 600, 300) + Frame(3, 600, 300));
    UID first = kInvalidUID, second = kInvalidUID, third = kInvalidUID;
    EXPECT_NEAR(OnPage(1, &first).top, 0, 1e-6);
    EXPECT_NEAR(OnPage(2, &second).top, 305, 1e-6);
    EXPECT_NEAR(OnPage(3, &third).top, 0, 1e-6);
    EXPECT_EQ(first, second);
    ASSERT_EQ(scratch.size(), 2u);
    EXPECT_EQ(third, scratch.back());
}

TEST_F(MifAnchoredFrameBuilderTest, FramesTooLargeOrWithoutIDAreNotFound)
{
    // Wider or taller than the page is too large; as high as the page fits.
    Build(Frame(1, 613, 50) + Frame(2, 100, 793) + Frame(3, 100, 792) + Frame(0, 50, 50));
    EXPECT_FALSE(builder.GetItemOfId(1).ExistsInDB());
    EXPECT_FALSE(builder.GetItemOfId(2).ExistsInDB());
    EXPECT_TRUE(builder.GetItemOfId(3).ExistsInDB());
    // The frame without ID is built (beside frame 3) but recorded under no ID.
    EXPECT_EQ(builder.GetItems().size(), 1u);
    const Spread* spread = db->Get<Spread>(scratch.front());
    EXPECT_EQ(spread->pageItems.size(), 2u);
    EXPECT_NEAR(builder.GetCursor().x, 160, 1e-6);
}

TEST_F(MifAnchoredFrameBuilderTest, AFrameAsLargeAsThePageIsBuilt)
{
    Build(Frame(1, 612, 792) + Frame(2, 10, 10));
    EXPECT_NEAR(OnPage(1).Width(), 612, 1e-6);
    // The next frame starts a new scratch spread.
    EXPECT_EQ(scratch.size(), 2u);
    EXPECT_TRUE(builder.GetItemOfId(2).ExistsInDB());
}

TEST_F(MifAnchoredFrameBuilderTest, AnEmptyCatalogBuildsNothing)
{
    Build("");
    EXPECT_TRUE(builder.GetItems().empty());
    EXPECT_EQ(scratch.size(), 1u);
    EXPECT_TRUE(db->Get<Spread>(scratch.front())->pageItems.empty());
}

} // namespace
