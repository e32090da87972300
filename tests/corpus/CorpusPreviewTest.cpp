// Every file of the shared corpus draws a preview: one image a page, every face it uses loaded,
// and ink on the pages when its stories have composed text.
#include <gtest/gtest.h>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "PreviewWriter.h"
#include "Story.h"
#include "TestUtils.h"

#include "host/PreviewImage.h"

namespace {

// Whether some story of the document has glyphs set in a frame.
bool HasComposedGlyphs(const DataBase& db)
{
    for (UID uid : db.GetDocument()->stories)
        if (const Story* story = db.Get<Story>(uid))
            for (const ComposedFrame& frame : story->frameList.GetFrames())
                for (const ComposedLine& line : frame.lines)
                    for (const GlyphRun& run : line.runs)
                        if (run.glyphCount > 0) return true;
    return false;
}

} // namespace

TEST(CorpusPreview, EveryFile_ImagesOfItsPagesShowTheText)
{
    for (const auto& path : CorpusFiles()) {
        SCOPED_TRACE(path.string());
        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        DataBase* db = document.GetDataBase();
        int32 images = 0;
        int64 ink = 0;
        std::vector<std::string> problems;
        EXPECT_EQ(PreviewWriter::BuildPngs(*db, {24, false}, [&](int32, std::string_view png) {
            PreviewImage image(png);
            EXPECT_TRUE(image.IsValid());
            ++images;
            ink += image.InkIn(0, 0, image.Width(), image.Height());
            return kSuccess;
        }, &problems), kSuccess);
        EXPECT_EQ(images, db->GetDocument()->GetPageCount());
        EXPECT_TRUE(problems.empty()) << problems.front();
        if (HasComposedGlyphs(*db)) {
            EXPECT_GT(ink, 0);
        }
        DocumentList::Close(db);
    }
}
