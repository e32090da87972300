// Every file of the shared corpus converts through the host's Open into a document with the
// right pages, and the IDML package made of it is well formed with every reference resolved.
#include <gtest/gtest.h>

#include <filesystem>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "IdmlPackage.h"
#include "IdmlWriter.h"
#include "MifKeywordTable.h"
#include "TestUtils.h"

namespace {

// Body pages of the file, counted in its tree apart from the driver: top-level Pages without a
// PageType or with BodyPage.
int BodyPages(const MifObject& root)
{
    int pages = 0;
    for (const MifProp* prop : root.props) {
        if (prop->id != kMifPage || prop->type != kMifTypeObject) continue;
        MifPropVal type;
        if (!prop->value.object->GetPropVal(kMifPageType, type) || type.keyword == kMifBodyPage) ++pages;
    }
    return pages;
}

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
        EXPECT_EQ(doc->GetPageCount(), std::max(BodyPages(*mif.root), 1));
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
