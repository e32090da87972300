// The import record an import leaves in its document, the second conversion phase that takes
// it out before the document is saved, and the import marks that stay.
#include <gtest/gtest.h>

#include "CmdUtils.h"
#include "Document.h"
#include "DocumentList.h"
#include "IdmlWriter.h"
#include "InterfacePtr.h"
#include "MifImportFixture.h"
#include "PageItem.h"
#include "PersistentObject.h"
#include "PersistentObjectCommands.h"
#include "Phase2Conversion.h"

#include "base/MifAssertLog.h"
#include "base/MifImportRecordIDs.h"
#include "import/IMifStringData.h"
#include "layout/MifMarkPageItemCmd.h"

namespace {

const char* kMif =
    "<MIFFile 9.00>\n"
    "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>\n"
    " <Rectangle <Fill 0> <ShapeRect 0pt 0pt 5pt 5pt>>>\n"
    "<TextFlow <Para <ParaLine <TextRectID 1> <String `Text'>>>>\n";

class MifPhase2ConversionTest : public MifImportFixture {
protected:
    std::vector<UID> Records() const
    {
        std::vector<UID> records;
        for (const auto& entry : db->GetObjects())
            if (PersistentObject::ClassOf(*db, entry.first) == kMifImportRecordBoss) records.push_back(entry.first);
        return records;
    }
    std::vector<UID> MarkedItems() const
    {
        std::vector<UID> marked;
        for (const auto& entry : db->GetObjects())
            if (auto* item = dynamic_cast<const PageItem*>(entry.second.get()); item && item->importMark) marked.push_back(entry.first);
        return marked;
    }
};

TEST_F(MifPhase2ConversionTest, ImportLeavesOneRecordThatSavingRemoves_MarksStay)
{
    OpenMif("record.mif", kMif);
    std::vector<UID> records = Records();
    ASSERT_EQ(records.size(), 1u);
    auto* record = db->Get<PersistentObject>(records[0]);
    InterfacePtr<IMifStringData> source(static_cast<IMifStringData*>(record->QueryInterface(IID_IMIFSOURCEFILEDATA)));
    InterfacePtr<IMifStringData> version(static_cast<IMifStringData*>(record->QueryInterface(IID_IMIFPLUGINVERSIONDATA)));
    ASSERT_TRUE(source && version);
    EXPECT_NE(source->Get().GetUTF8String().find("record.mif"), std::string::npos);
    EXPECT_EQ(version->Get().GetUTF8String(), "1.1.1");
    std::vector<UID> marked = MarkedItems();
    EXPECT_FALSE(marked.empty());

    std::string package;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &package), kSuccess);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(MarkedItems(), marked);
    // A second save finds nothing left to remove.
    int64 before = MifAssertLog::GetWrittenLineCount();
    Phase2Conversion::Report report = Phase2Conversion::Run(*db);
    EXPECT_TRUE(report.classes.empty());
    EXPECT_TRUE(report.implementations.empty());
    EXPECT_EQ(MifAssertLog::GetWrittenLineCount(), before);
}

TEST_F(MifPhase2ConversionTest, ReportsTheClassThenItsThreeImplementations_DeletionUndoes)
{
    OpenMif("report.mif", kMif);
    auto second = std::make_shared<NewPersistentObjectCmd>();
    second->classID = kMifImportRecordBoss;
    second->SetItemList(UIDList(UIDRef(db, db->GetDocument()->GetUID())));
    ASSERT_EQ(CmdUtils::ProcessCommand(second), kSuccess);
    ASSERT_EQ(Records().size(), 2u);

    Phase2Conversion::Report report = Phase2Conversion::Run(*db);
    EXPECT_EQ(report.classes, std::vector<ClassID>{kMifImportRecordBoss});
    EXPECT_EQ(report.implementations,
              (std::vector<ImplementationID>{kMifSourceFileDataImpl, kMifPresetNameDataImpl, kMifPluginVersionDataImpl}));
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(db->GetCommandMgr().GetUndoName().GetUTF8String(), "Delete");
    ASSERT_TRUE(db->GetCommandMgr().Undo());
    EXPECT_EQ(Records().size(), 2u);
}

TEST_F(MifPhase2ConversionTest, DocumentWithoutRecord_NoCommandAndNoReport)
{
    DataBase* empty = DocumentList::NewDataBase();
    int64 before = MifAssertLog::GetWrittenLineCount();
    Phase2Conversion::Report report = Phase2Conversion::Run(*empty);
    EXPECT_TRUE(report.classes.empty());
    EXPECT_TRUE(report.implementations.empty());
    EXPECT_TRUE(empty->GetCommandMgr().GetUndoName().IsEmpty());
    EXPECT_EQ(MifAssertLog::GetWrittenLineCount(), before);
}

TEST_F(MifPhase2ConversionTest, DeleteUIDs_RefusesTheDocumentAndMissingObjects)
{
    OpenMif("delete.mif", kMif);
    UID record = Records().at(0);
    for (UID bad : {db->GetDocument()->GetUID(), UID(1000000)}) {
        UIDList items(db);
        items.Append(record);
        items.Append(bad);
        auto deleteUIDsCmd = std::make_shared<DeleteUIDsCmd>();
        deleteUIDsCmd->SetItemList(items);
        EXPECT_NE(CmdUtils::ProcessCommand(deleteUIDsCmd), kSuccess);
        EXPECT_TRUE(db->ExistsInDB(record));
    }
}

TEST_F(MifPhase2ConversionTest, Mark_WithoutValueMarksNothingAndLogsOnce)
{
    OpenMif("mark.mif", kMif);
    UIDList items(db);
    for (const auto& entry : db->GetObjects())
        if (auto* item = dynamic_cast<PageItem*>(entry.second.get())) {
            item->importMark = false;
            items.Append(entry.first);
        }
    ASSERT_GE(items.Length(), 2);
    auto noValueCmd = std::make_shared<MifMarkPageItemCmd>();
    noValueCmd->SetItemList(items);
    int64 before = MifAssertLog::GetWrittenLineCount();
    EXPECT_NE(CmdUtils::ProcessCommand(noValueCmd), kSuccess);
    EXPECT_EQ(MifAssertLog::GetWrittenLineCount() - before, 1);
    EXPECT_TRUE(MarkedItems().empty());

    // An item list naming nothing, not even a document, has nothing to mark.
    auto emptyCmd = std::make_shared<MifMarkPageItemCmd>();
    emptyCmd->boolData = true;
    EXPECT_EQ(CmdUtils::ProcessCommand(emptyCmd), kSuccess);
    EXPECT_TRUE(MarkedItems().empty());
}

} // namespace
