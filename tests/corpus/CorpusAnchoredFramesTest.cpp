// The anchored frames of the corpus arrive in their stories: every AFrame anchor of a frame
// that fits a page holds its frame, with its images and graphics where the MIF put them, and the
// package keeps them in the text; the side-head area of the SDF guide is spanned by its headings.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "AnchorLayout.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "GroupItem.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "ImportModes.h"
#include "PlacedGraphic.h"
#include "SplineItem.h"
#include "Story.h"
#include "TestUtils.h"
#include "TextFrame.h"

#include "host/IdmlPackage.h"

namespace {

struct Converted {
    explicit Converted(const std::string& name)
    {
        std::filesystem::path path = std::filesystem::path(TESSEL_CORPUS_DIR) / name;
        UIDRef document;
        PMString message;
        EXPECT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        db = document.GetDataBase();
        mif = std::make_unique<ParsedMif>(ReadFile(path.string()));
    }
    ~Converted()
    {
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    // The items anchored in the document's stories, in story order.
    std::vector<const PageItem*> Anchored() const
    {
        std::vector<const PageItem*> items;
        for (UID uid : db->GetDocument()->stories) {
            const Story* story = db->Get<Story>(uid);
            if (!story) continue;
            story->textModel.ForEachOwnedItem(0, story->textModel.TotalLength(), [&](int32 index, UID item) {
                if (const PageItem* anchored = AnchorLayout::ItemAt(*db, story->textModel, index)) items.push_back(anchored);
                (void)item;
            });
        }
        return items;
    }
    // Every item in `item` (itself, a group's children, down), with its transform to `item`'s parent.
    static void Walk(const DataBase& db, const PageItem& item, const PMMatrix& toOuter,
                     const std::function<void(const PageItem&, const PMMatrix&)>& visit)
    {
        PMMatrix toHere = item.itemTransform.Then(toOuter);
        visit(item, toHere);
        if (const auto* group = dynamic_cast<const GroupItem*>(&item))
            for (UID child : group->children)
                if (const PageItem* c = db.Get<PageItem>(child)) Walk(db, *c, toHere, visit);
    }

    DataBase* db = nullptr;
    std::unique_ptr<ParsedMif> mif;
};

// The AFrame anchors of the flows, counted off the file.
int32 CountAnchors(const MifObject& object)
{
    int32 count = 0;
    for (const MifProp* prop : object.props) {
        if (!prop) break;
        if (prop->id == kMifAFrame) ++count;
        if (prop->type == kMifTypeObject && prop->value.object && prop->id != kMifAFrames) count += CountAnchors(*prop->value.object);
    }
    return count;
}

TEST(CorpusAnchoredFrames, ArticleFiguresLinkTheirEpsFiles)
{
    Converted c("generated/openjade/article-graphics.mif");
    std::vector<const PageItem*> anchored = c.Anchored();
    ASSERT_EQ(anchored.size(), 4u);
    EXPECT_EQ(CountAnchors(*c.mif->root), 4);
    int32 links = 0;
    for (const PageItem* item : anchored) {
        EXPECT_EQ(item->anchorSettings.position, AnchorPosition::kInline);
        Converted::Walk(*c.db, *item, PMMatrix(), [&](const PageItem& part, const PMMatrix&) {
            const auto* spline = dynamic_cast<const SplineItem*>(&part);
            const PlacedGraphic* graphic = spline ? c.db->Get<PlacedGraphic>(spline->graphic) : nullptr;
            if (!graphic) return;
            ++links;
            EXPECT_TRUE(graphic->file.Exists()) << graphic->file.GetPathString().GetUTF8String();
            std::string leaf = graphic->file.GetPath().filename().string();
            EXPECT_TRUE(leaf == "harbour.eps" || leaf == "tides.eps") << leaf;
        });
    }
    EXPECT_EQ(links, 4);
    // Each stands where the composer put it, on a page of the document.
    for (const PageItem* item : anchored) {
        PMMatrix placed;
        UID spread = kInvalidUID;
        EXPECT_TRUE(AnchorLayout::PlacedTransform(*c.db, *item, placed, &spread));
        EXPECT_NE(std::find(c.db->GetDocument()->spreads.begin(), c.db->GetDocument()->spreads.end(), spread),
                  c.db->GetDocument()->spreads.end());
    }
    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(*c.db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    EXPECT_EQ(package.Check(), std::vector<std::string>());
}

TEST(CorpusAnchoredFrames, TheBelowFrameOfTest03KeepsItsEmbeddedImage)
{
    Converted c("framemaker/Test03.mif");
    std::vector<const PageItem*> anchored = c.Anchored();
    ASSERT_EQ(anchored.size(), 1u);
    EXPECT_EQ(anchored.front()->anchorSettings.position, AnchorPosition::kAboveLine);
    int32 embedded = 0;
    Converted::Walk(*c.db, *anchored.front(), PMMatrix(), [&](const PageItem& part, const PMMatrix&) {
        const auto* spline = dynamic_cast<const SplineItem*>(&part);
        const PlacedGraphic* graphic = spline ? c.db->Get<PlacedGraphic>(spline->graphic) : nullptr;
        if (graphic && graphic->embedded && !graphic->data.empty()) ++embedded;
    });
    EXPECT_EQ(embedded, 1);

    // It stands below "With an image:", the last line of the flow, which anchors it.
    const Story* story = c.db->Get<Story>(anchored.front()->anchorStory);
    ASSERT_NE(story, nullptr);
    const std::u16string text = story->textModel.GetText(0, story->textModel.TotalLength());
    const int32 anchoring = static_cast<int32>(text.find(u"With an image:"));
    ASSERT_GE(anchoring, 0);
    const ComposedLine* line = nullptr;
    const PlacedAnchor* placed = nullptr;
    for (const ComposedFrame& frame : story->frameList.GetFrames()) {
        for (const ComposedLine& l : frame.lines)
            if (l.start <= anchoring && anchoring < l.End()) line = &l;
        for (const PlacedAnchor& a : frame.anchors)
            if (a.item == anchored.front()->GetUID()) placed = &a;
    }
    ASSERT_NE(line, nullptr);
    ASSERT_NE(placed, nullptr);
    EXPECT_GE(placed->bounds.top, line->baseline);
}

// Every polygon and polyline of the Grace frames stands where the MIF puts it in its frame.
TEST(CorpusAnchoredFrames, GraceChartsKeepTheirObjectsInPlace)
{
    for (const char* name : {"generated/grace/charts.mif", "generated/grace/pie.mif"}) {
        SCOPED_TRACE(name);
        Converted c(name);
        std::vector<const PageItem*> anchored = c.Anchored();
        ASSERT_EQ(anchored.size(), 1u);
        // The paths made, in the frame's coordinates (closed ones first in each list: polygons).
        std::vector<PMRect> closed, open;
        Converted::Walk(*c.db, *anchored.front(), PMMatrix(), [&](const PageItem& part, const PMMatrix& toFrame) {
            const auto* spline = dynamic_cast<const SplineItem*>(&part);
            if (!spline || (spline->kind != SplineKind::kPolygon && spline->kind != SplineKind::kGraphicLine)) return;
            PMRect box = SplineItem::BoundsOf(spline->path);
            PMPoint a = toFrame.Transform({box.left, box.top});
            (spline->kind == SplineKind::kPolygon ? closed : open).push_back(PMRect(a.x, a.y, a.x + box.Width(), a.y + box.Height()));
        });
        const MifObject* frame = c.mif->root->GetObject(kMifAFrames)->GetObject(kMifFrame);
        ASSERT_NE(frame, nullptr);
        std::vector<PMRect> mifClosed, mifOpen;
        for (const MifProp* prop : frame->props) {
            if (prop->type != kMifTypeObject || !prop->value.object || (prop->id != kMifPolygon && prop->id != kMifPolyLine)) continue;
            PMRect box(1e9, 1e9, -1e9, -1e9);
            for (const MifProp* point : prop->value.object->props)
                if (point->id == kMifPoint) {
                    box.left = std::min(box.left, point->value.dim[0]);
                    box.top = std::min(box.top, point->value.dim[1]);
                    box.right = std::max(box.right, point->value.dim[0]);
                    box.bottom = std::max(box.bottom, point->value.dim[1]);
                }
            (prop->id == kMifPolygon ? mifClosed : mifOpen).push_back(box);
        }
        ASSERT_FALSE(mifClosed.empty());
        ASSERT_FALSE(closed.empty());
        // The first polygon fixes where the frame's origin went; every path of the MIF is then
        // found at its own place, to 0.01 pt.
        const PMPoint shift{closed[0].left - mifClosed[0].left, closed[0].top - mifClosed[0].top};
        auto found = [&](const PMRect& want, const std::vector<PMRect>& made) {
            for (const PMRect& box : made)
                if (std::abs(box.left - shift.x - want.left) < 0.01 && std::abs(box.top - shift.y - want.top) < 0.01 &&
                    std::abs(box.Width() - want.Width()) < 0.01 && std::abs(box.Height() - want.Height()) < 0.01)
                    return true;
            return false;
        };
        for (size_t i = 0; i < mifClosed.size(); ++i) EXPECT_TRUE(found(mifClosed[i], closed)) << "Polygon " << i;
        for (size_t i = 0; i < mifOpen.size(); ++i) EXPECT_TRUE(found(mifOpen[i], open)) << "PolyLine " << i;
    }
}

TEST(CorpusAnchoredFrames, HarbourGuideHeadingsSpanTheSideHeadArea)
{
    Converted c("generated/sdf/harbour-guide.mif");
    int32 spanning = 0;
    for (UID uid : c.db->GetDocument()->stories) {
        const Story* story = c.db->Get<Story>(uid);
        story->textModel.ForEachParagraph(0, story->textModel.TotalLength(), [&](int32, int32, const TextFormat& format) {
            if (const PMReal* indent = format.overrides.Get<PMReal>(TextAttribute::kLeftIndent); indent && *indent <= -36 + 1e-6) ++spanning;
        });
    }
    EXPECT_GT(spanning, 0);
    EXPECT_EQ(c.Anchored().size(), 2u);
}

// The contents list shows each heading's number as it stands ("1.1", the appendix's "A") and its
// page, the appendix's on the page added for it; each figure below its anchoring line stays in
// its own empty anchoring paragraph, so that no heading begins with an anchor.
TEST(CorpusAnchoredFrames, HarbourGuideContentsAndFiguresBelowTheirLines)
{
    XRefPlugInScope crossReferences;  // live cross-references, whose text the host writes
    Converted c("generated/sdf/harbour-guide.mif");
    const Story* body = nullptr;
    for (UID uid : c.db->GetDocument()->stories)
        if (const Story* story = c.db->Get<Story>(uid); story && (!body || story->textModel.TotalLength() > body->textModel.TotalLength()))
            body = story;
    ASSERT_NE(body, nullptr);
    const std::u16string text = body->textModel.GetText(0, body->textModel.TotalLength());
    EXPECT_NE(text.find(u"1.1\tApproach\t3"), std::u16string::npos);
    EXPECT_NE(text.find(u"2.3\tChart\t4"), std::u16string::npos);
    EXPECT_NE(text.find(u"A\tChange History\t7"), std::u16string::npos);
    int32 below = 0;
    body->textModel.ForEachOwnedItem(0, body->textModel.TotalLength(), [&](int32 index, UID) {
        const PageItem* item = AnchorLayout::ItemAt(*c.db, body->textModel, index);
        if (!item || item->anchorSettings.position != AnchorPosition::kAboveLine) return;
        ++below;
        EXPECT_EQ(text[size_t(index) - 1], u'\r') << index;
        EXPECT_EQ(text[size_t(index) + 1], u'\r') << index;
    });
    EXPECT_EQ(below, 2);
}

} // namespace
