// Every TextRect of every body page and imported master page of the corpus becomes a text frame,
// and the frames are threaded as the TextRects' TRNext say.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "Spread.h"
#include "TestUtils.h"
#include "TextFrame.h"

#include "base/MifDocInterface.h"
#include "layout/IMifLayoutImporter.h"
#include "mif/MifKeywordTable.h"

namespace {

// The text frames of each file, read off the files themselves: the TextRects with a ShapeRect
// on the body pages and the master pages that are laid out (not the left master page of a
// single-sided document, never reference pages). The FrameMaker files: 3 on the right master
// page and 1 on each body page; openjade: 1 on the body page and 3 on each of three master
// pages; SDF: 2 on the other master page, 3 on the right master page, 1 on the body page;
// Grace: 1 on the master page, 1 on the body page.
const std::map<std::string, int> kTextFrames = {
    {"framemaker/ImportedText.mif", 4},            {"framemaker/JATest.mif", 4},
    {"framemaker/Test01-v7.mif", 4},               {"framemaker/Test01.mif", 4},
    {"framemaker/Test02-v9.mif", 4},               {"framemaker/Test03.mif", 5},
    {"framemaker/TestEncoding-v10.mif", 4},        {"framemaker/TestEncoding-v9.mif", 4},
    {"generated/grace/charts.mif", 2},             {"generated/grace/pie.mif", 2},
    {"generated/openjade/article-features.mif", 10}, {"generated/openjade/article-graphics.mif", 10},
    {"generated/openjade/article-long.mif", 10},   {"generated/openjade/article-tables.mif", 10},
    {"generated/sdf/harbour-guide.mif", 6},
};

// The TextRects with a ShapeRect on the pages the import lays out (body pages; master pages,
// without the left master of a single-sided document), counted apart from the importer; the
// last TextRect of an ID is the one the ID names.
struct PlacedTextRects {
    int count = 0;
    std::map<int32, const MifObject*> byId;
};

PlacedTextRects TextRectsOf(const MifObject& root)
{
    PlacedTextRects placed;
    const MifObject* document = root.GetObject(kMifDocument);
    bool twoSided = document && document->GetBool(kMifDTwoSides);
    for (const MifProp* prop : root.props) {
        if (prop->id != kMifPage || prop->type != kMifTypeObject) continue;
        MifPropVal type;
        int32 pageType = prop->value.object->GetPropVal(kMifPageType, type) ? type.keyword : kMifBodyPage;
        bool laidOut = pageType == kMifBodyPage || pageType == kMifRightMasterPage || pageType == kMifOtherMasterPage ||
                       (pageType == kMifLeftMasterPage && twoSided);
        if (!laidOut) continue;
        for (const MifProp* item : prop->value.object->props) {
            if (item->id != kMifTextRect || item->type != kMifTypeObject || !item->value.object->FindProp(kMifShapeRect)) continue;
            ++placed.count;
            MifPropVal id;
            placed.byId[item->value.object->GetPropVal(kMifID, id) ? id.id : 0] = item->value.object;
        }
    }
    return placed;
}

} // namespace

TEST(CorpusTextFrames, EveryTextRect_AFrameThreadedAlongTRNext)
{
    auto files = CorpusFiles();
    ASSERT_GE(files.size(), 15u);
    int threads = 0;
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        ParsedMif mif(ReadFile(path.string()));
        PlacedTextRects placed = TextRectsOf(*mif.root);
        UIDRef document;
        PMString message;
        // The frames of the file's own pages: no pages are added for text that overflows them.
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message, OpenOptions{.addPages = false}), kSuccess)
            << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        DataBase* db = document.GetDataBase();
        InterfacePtr<IMifLayoutImporter> importer = MifDocInterface<IMifLayoutImporter>(db);
        ASSERT_TRUE(importer);

        int frames = 0;
        std::vector<UID> spreads = db->GetDocument()->spreads;
        spreads.insert(spreads.end(), db->GetDocument()->masterSpreads.begin(), db->GetDocument()->masterSpreads.end());
        for (UID uid : spreads)
            for (UID item : db->Get<Spread>(uid)->pageItems) frames += db->Get<TextFrame>(item) ? 1 : 0;
        std::string name = std::filesystem::relative(path, TESSEL_CORPUS_DIR).generic_string();
        ASSERT_TRUE(kTextFrames.count(name)) << "no frame count for " << name;
        EXPECT_EQ(frames, kTextFrames.at(name));
        EXPECT_EQ(placed.count, kTextFrames.at(name));

        for (const auto& [id, mifTextRect] : placed.byId) {
            const TextFrame* frame = db->Get<TextFrame>(importer->GetItemOfId(id).GetUID());
            ASSERT_NE(frame, nullptr) << "TextRect " << id;
            MifPropVal next;
            bool threaded = mifTextRect->GetPropVal(kMifTRNext, next) && next.id > 0 && placed.byId.count(next.id);
            UID expected = threaded ? importer->GetItemOfId(next.id).GetUID() : kInvalidUID;
            EXPECT_EQ(frame->nextFrame, expected) << "TextRect " << id;
            if (threaded) {
                ++threads;
                EXPECT_EQ(db->Get<TextFrame>(expected)->story, frame->story) << "TextRect " << id;
            }
        }
        importer = InterfacePtr<IMifLayoutImporter>();
        DocumentList::Close(db);
    }
    EXPECT_GT(threads, 0);   // the corpus holds at least one thread between laid-out pages
}
