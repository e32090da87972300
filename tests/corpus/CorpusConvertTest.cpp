// Every file of the shared corpus converts through the host's Open into a document with the
// right pages, and the IDML package made of it is well formed with every reference resolved.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IdmlPackage.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "Spread.h"
#include "Story.h"
#include "TestUtils.h"
#include "TextFrame.h"

#include "mif/MifKeywordTable.h"

namespace {

// Body pages of each file, read off the files themselves (Pages without a PageType or with
// BodyPage): every file has one, Test03 two. The files of other writers leave it to the reader
// to add pages for the text of their autoconnected flows; FrameMaker's hold all they need.
const std::map<std::string, int> kBodyPages = {
    {"framemaker/ImportedText.mif", 1},           {"framemaker/JATest.mif", 1},
    {"framemaker/Test01-v7.mif", 1},              {"framemaker/Test01.mif", 1},
    {"framemaker/Test02-v9.mif", 1},              {"framemaker/Test03.mif", 2},
    {"framemaker/TestEncoding-v10.mif", 1},       {"framemaker/TestEncoding-v9.mif", 1},
    {"generated/grace/charts.mif", 1},            {"generated/grace/pie.mif", 1},
    {"generated/openjade/article-features.mif", 1}, {"generated/openjade/article-graphics.mif", 1},
    {"generated/openjade/article-long.mif", 1},   {"generated/openjade/article-tables.mif", 1},
    {"generated/sdf/harbour-guide.mif", 1},
};

} // namespace

TEST(CorpusConvert, EveryFile_PagesAndAValidPackage)
{
    auto files = CorpusFiles();
    ASSERT_GE(files.size(), 15u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        ParsedMif mif(ReadFile(path.string()));
        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        DataBase* db = document.GetDataBase();
        const Document* doc = db->GetDocument();
        std::string name = std::filesystem::relative(path, TESSEL_CORPUS_DIR).generic_string();
        ASSERT_TRUE(kBodyPages.count(name)) << "no page count for " << name;
        if (name.starts_with("framemaker/")) {
            EXPECT_EQ(doc->GetPageCount(), kBodyPages.at(name));
        } else {
            EXPECT_GE(doc->GetPageCount(), kBodyPages.at(name));
        }
        MifPropVal size;
        const MifObject* mifDocument = mif.root->GetObject(kMifDocument);
        if (mifDocument && mifDocument->GetPropVal(kMifDPageSize, size)) {
            EXPECT_NEAR(doc->preferences.pageWidth, size.dim[0], 1e-6);
            EXPECT_NEAR(doc->preferences.pageHeight, size.dim[1], 1e-6);
        }
        std::string package;
        ASSERT_EQ(IdmlWriter::BuildPackage(*db, &package), kSuccess);
        IdmlPackage idml = IdmlPackage::FromBytes(package);
        ASSERT_TRUE(idml.IsOpen()) << idml.GetError();
        std::vector<std::string> problems = idml.Check();
        EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems.front());
        DocumentList::Close(db);
    }
}

// The files that leave their pages to the reader get as many as their text needs: no story is
// left overset (the masters' running heads neither, though they fill their frames to the last
// descender), and the long article runs to many pages, as FrameMaker paginates it.
TEST(CorpusConvert, AutoconnectedFlows_EveryStoryFits)
{
    for (const char* name : {"generated/openjade/article-long.mif", "generated/openjade/article-features.mif",
                             "generated/sdf/harbour-guide.mif"}) {
        SCOPED_TRACE(name);
        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(std::filesystem::path(TESSEL_CORPUS_DIR) / name), kSuppressUI, document, message),
                  kSuccess)
            << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        DataBase* db = document.GetDataBase();
        for (UID uid : db->GetDocument()->stories) {
            const Story* story = db->Get<Story>(uid);
            if (!story || story->frameList.GetFrameCount() == 0) continue;
            EXPECT_FALSE(story->frameList.Overflows()) << "story " << uid << " (" << story->GetPrimaryText().GetUTF8String().substr(0, 60) << ")";
        }
        if (std::string(name).find("article-long") != std::string::npos) {
            EXPECT_GT(db->GetDocument()->GetPageCount(), 20);
        }
        DocumentList::Close(db);
    }
}
