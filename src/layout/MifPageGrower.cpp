#include "layout/MifPageGrower.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "DataBase.h"
#include "Document.h"
#include "ObjectModel.h"
#include "PageCommands.h"
#include "Spread.h"
#include "SpreadLayout.h"
#include "Story.h"
#include "Table.h"
#include "TextComposer.h"
#include "TextFrame.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifProblemReporter.h"
#include "layout/IMifLayoutImporter.h"
#include "layout/IMifTextFrameUtils.h"

namespace {

// The first batch is one page: it tells how much text a page takes. Later batches are sized from
// that, and grow at most to this many times the pages added so far (plus a few), so that a
// wrong guess costs little.
constexpr int32 kGrowthFactor = 4;
constexpr int32 kGrowthSlack = 16;

// The last frame of the thread that starts at `first`; the walk stops after as many frames as
// the database holds, whatever the data.
TextFrame* LastFrameOf(DataBase& db, TextFrame* first)
{
    size_t limit = db.GetObjects().size();
    TextFrame* frame = first;
    while (frame && limit-- > 0) {
        TextFrame* next = db.Get<TextFrame>(frame->nextFrame);
        if (!next) break;
        frame = next;
    }
    return frame;
}

// The first frame that shows `story`, found from its frame list or, when it was never composed,
// by a walk over the document's objects.
TextFrame* FirstFrameOf(DataBase& db, const Story& story)
{
    if (story.frameList.GetFrameCount() > 0)
        if (TextFrame* frame = db.Get<TextFrame>(story.frameList.GetFrameUID(0)); frame && frame->story == story.GetUID()) {
            while (TextFrame* previous = db.Get<TextFrame>(frame->previousFrame)) frame = previous;
            return frame;
        }
    for (const auto& [uid, object] : db.GetObjects()) {
        auto* frame = dynamic_cast<TextFrame*>(object.get());
        if (frame && frame->story == story.GetUID() && !db.Get<TextFrame>(frame->previousFrame)) return frame;
    }
    return nullptr;
}

// When the text stops in a table that runs on past the last frame (its character is the first
// left over), the table's body rows set in the frames from entry `from` on, and those still left
// over; false when the text stops elsewhere.
bool RowsOfRunningTable(const DataBase& db, const FrameList& frameList, int32 from, int32& placed, int32& left)
{
    const std::vector<ComposedFrame>& frames = frameList.GetFrames();
    const int32 anchor = frameList.GetOversetIndex();
    const ComposedTablePart* last = nullptr;
    for (auto frame = frames.rbegin(); frame != frames.rend() && !last; ++frame)
        for (auto part = frame->tableParts.rbegin(); part != frame->tableParts.rend() && !last; ++part)
            if (part->anchor == anchor) last = &*part;
    const Table* table = last && last->table ? db.Get<Table>(last->table->table) : nullptr;
    if (!table) return false;
    const int32 bodyStart = table->headerRowCount, bodyEnd = table->RowCount() - table->footerRowCount;
    auto isBody = [&](int32 row) { return row >= bodyStart && row < bodyEnd; };
    int32 lastBodyRow = bodyStart - 1;
    for (int32 row : last->rows)
        if (isBody(row)) lastBodyRow = std::max(lastBodyRow, row);
    left = bodyEnd - 1 - lastBodyRow;
    placed = 0;
    for (size_t f = static_cast<size_t>(std::max(0, from)); f < frames.size(); ++f)
        for (const ComposedTablePart& part : frames[f].tableParts)
            if (part.anchor == anchor) placed += static_cast<int32>(std::count_if(part.rows.begin(), part.rows.end(), isBody));
    return true;
}

// A frame like `frame`, at its place on `page`.
MifPageGrower::FrameShape ShapeLike(const TextFrame& frame, const Page& page)
{
    MifPageGrower::FrameShape shape;
    PMRect bounds = frame.GetBoundsInSpread();
    shape.rect = PMRect(bounds.left - page.boundsInSpread.left, bounds.top - page.boundsInSpread.top,
                        bounds.right - page.boundsInSpread.left, bounds.bottom - page.boundsInSpread.top);
    shape.columns = frame.columnCount;
    shape.gap = frame.columnGutter;
    return shape;
}

PMString FlowName(const PMString& tag)
{
    if (tag.IsEmpty()) return PMString("the untagged text flow");
    PMString name("the text flow ");
    name.Append(tag);
    return name;
}

PMString PagesText(int32 count)
{
    PMString text;
    text.AppendNumber(count);
    text.Append(count == 1 ? " page" : " pages");
    return text;
}

} // namespace

MifPageGrower::MifPageGrower(DataBase& db, IMifLayoutImporter& layout, IMifErrorLog* errors, int32 maxPages)
    : mDB(db), mLayout(layout), mErrors(errors), mMaxPages(std::max(0, maxPages))
{
}

void MifPageGrower::Grow(const std::vector<Flow>& flows)
{
    // Each flow grows after its own last page; going through them in page order keeps the pages
    // that follow a growing flow few (the later flows have not grown yet).
    struct Pending {
        const Flow* flow;
        Story* story;
        UID lastPage;
        int32 pageIndex;
    };
    std::unordered_map<UID, int32> pageIndex;
    std::vector<UID> pages = mDB.GetDocument()->GetPages();
    for (size_t i = 0; i < pages.size(); ++i) pageIndex[pages[i]] = static_cast<int32>(i);
    std::vector<Pending> pending;
    for (const Flow& flow : flows) {
        Story* story = mDB.Get<Story>(flow.story);
        TextFrame* first = story ? FirstFrameOf(mDB, *story) : nullptr;
        TextFrame* last = first ? LastFrameOf(mDB, first) : nullptr;
        // Text flows of master pages are the masters' own; they never get pages.
        if (!last || mDB.Get<MasterSpread>(last->spread)) continue;
        UID page = SpreadLayout::GetDrawingPage(mDB, *last);
        auto at = pageIndex.find(page);
        if (at == pageIndex.end()) continue;  // a frame on the pasteboard has no page to follow
        pending.push_back({&flow, story, page, at->second});
    }
    std::stable_sort(pending.begin(), pending.end(), [](const Pending& a, const Pending& b) { return a.pageIndex < b.pageIndex; });
    for (const Pending& entry : pending) {
        TextComposer::Get().Compose(*entry.story);
        if (!entry.story->frameList.Overflows()) continue;
        Outcome outcome = Outcome::kFits;
        int32 added = GrowFlow(*entry.flow, *entry.story, entry.lastPage, outcome);
        Report(*entry.flow, added, outcome);
    }
}

int32 MifPageGrower::GrowFlow(const Flow& flow, Story& story, UID lastPage, Outcome& outcome)
{
    const FrameList& frameList = story.frameList;
    TextFrame* last = frameList.GetFrameCount() > 0 ? mDB.Get<TextFrame>(frameList.GetFrameUID(frameList.GetFrameCount() - 1)) : nullptr;
    const Page* page = mDB.Get<Page>(lastPage);
    if (!last || !page) {
        MIF_LOG_NIL(last);
        outcome = Outcome::kFailed;
        return 0;
    }
    const FrameShape fallback = ShapeLike(*last, *page);
    const UID layer = last->layer;
    UID lastFrame = last->GetUID();

    UID after = lastPage;
    if (auto known = mAddedAfter.find(lastPage); known != mAddedAfter.end() && mDB.Get<Page>(known->second)) after = known->second;
    int32 added = 0;
    int32 batch = 1;
    outcome = Outcome::kFits;
    while (frameList.Overflows()) {
        int32 room = mMaxPages - mAdded;
        if (room <= 0) {
            outcome = Outcome::kLimit;
            break;
        }
        int32 count = std::clamp(batch, 1, std::min(room, NewPageCmd::kMaxPages));
        auto newPageCmd = std::make_shared<NewPageCmd>();
        newPageCmd->numPages = count;
        if (!MIF_RUN_COMMAND(newPageCmd, UIDList(UIDRef(&mDB, after))) || newPageCmd->GetItemList().Length() != count) {
            outcome = Outcome::kFailed;
            break;
        }
        std::vector<UID> pages = newPageCmd->GetItemList().GetUIDs();
        mAdded += count;
        // The frames of each page, by where their entries stand in the story's frame list.
        const int32 before = frameList.GetOversetIndex();
        std::vector<int32> firstEntry;
        bool filled = true;
        for (UID newPage : pages) {
            firstEntry.push_back(frameList.GetFrameCount());
            if (!FillPage(newPage, flow, fallback, layer, lastFrame)) {
                filled = false;
                break;
            }
        }
        firstEntry.push_back(frameList.GetFrameCount());
        TextComposer::Get().Compose(story);
        // Which of the new pages took text: lines, or the rows of a table that goes on from the
        // page before (a part of a table holds no line of its own).
        const std::vector<ComposedFrame>& frames = frameList.GetFrames();
        auto tookText = [&](size_t p) {
            for (int32 f = firstEntry[p]; f < firstEntry[p + 1] && f < static_cast<int32>(frames.size()); ++f)
                if (!frames[static_cast<size_t>(f)].lines.empty() || !frames[static_cast<size_t>(f)].tableParts.empty()) return true;
            return false;
        };
        size_t keep = 0;   // the pages kept: up to the last that took text, or to the first that took none
        bool overflows = frameList.Overflows();
        for (size_t p = 0; p + 1 < firstEntry.size(); ++p) {
            if (tookText(p)) keep = p + 1;
            else if (overflows) break;
        }
        if (overflows && filled && keep == firstEntry.size() - 1 && keep == pages.size()) {
            // Every page took text and more is left: the next batch is sized from what these took.
            added += count;
            after = pages.back();
            batch = NextBatch(story, before, firstEntry.front(), count, added, room);
            continue;
        }
        std::vector<UID> surplus(pages.begin() + static_cast<std::ptrdiff_t>(keep), pages.end());
        RemovePages(surplus);
        mAdded -= static_cast<int32>(surplus.size());
        added += static_cast<int32>(keep);
        if (keep > 0) after = pages[keep - 1];
        if (!filled) outcome = Outcome::kFailed;
        else if (overflows) outcome = Outcome::kNeverFits;
        break;
    }
    if (added > 0) mAddedAfter[lastPage] = after;
    return added;
}

int32 MifPageGrower::NextBatch(const Story& story, int32 before, int32 firstEntry, int32 count, int32 added, int32 room) const
{
    const FrameList& frameList = story.frameList;
    int32 taken = std::max(1, frameList.GetOversetIndex() - before);
    int32 left = story.textModel.GetThreadRange(0).length - frameList.GetOversetIndex();
    double cap = kGrowthFactor * static_cast<double>(added) + kGrowthSlack;
    // In a table that runs on, the text stands still at its character: its rows tell. Every
    // composition sets such a table again from its first row, so the batch is not held to the
    // growth cap: each page takes a row at least, so a wrong guess asks for no more pages than
    // rows are left, made and removed again without composing more.
    int32 rowsPlaced = 0, rowsLeft = 0;
    if (RowsOfRunningTable(mDB, frameList, firstEntry, rowsPlaced, rowsLeft) && rowsPlaced > 0) {
        taken = rowsPlaced;
        left = rowsLeft;
        cap = room;
    }
    double perPage = static_cast<double>(taken) / count;
    double wanted = std::ceil(left / perPage * 1.05) + 1;
    return static_cast<int32>(std::min<double>(wanted, cap));
}

bool MifPageGrower::FillPage(UID pageUID, const Flow& flow, const FrameShape& fallback, UID layer, UID& last)
{
    const Page* page = mDB.Get<Page>(pageUID);
    Utils<IMifTextFrameUtils> textFrameUtils;
    if (!page) {
        MIF_LOG_NIL(page);
        return false;
    }
    if (!textFrameUtils) {
        MIF_LOG_NIL(textFrameUtils);
        return false;
    }
    const std::vector<FrameShape>& shapes = SpreadLayout::IsLeftPage(mDB, *page) ? flow.leftShapes : flow.rightShapes;
    const PMRect insets = mDB.Get<TextFrame>(last) ? mDB.Get<TextFrame>(last)->insets : PMRect();
    auto place = [&](const FrameShape& shape) {
        PMRect rect = shape.rect;
        rect.left += page->boundsInSpread.left;
        rect.right += page->boundsInSpread.left;
        rect.top += page->boundsInSpread.top;
        rect.bottom += page->boundsInSpread.top;
        UIDRef textFrame = mLayout.CreateTextFrame(rect, page->spread, layer);
        if (!textFrame.ExistsInDB()) return false;
        textFrameUtils->SetColumns(textFrame, shape.columns, shape.gap);
        // The side-head area of the flow's frames, when it has one, stays beside the text.
        if (insets.left != 0 || insets.top != 0 || insets.right != 0 || insets.bottom != 0) textFrameUtils->SetInsetRect(textFrame, insets);
        if (textFrameUtils->LinkFrames(UIDRef(&mDB, last), textFrame) != kSuccess) return false;
        last = textFrame.GetUID();
        return true;
    };
    if (shapes.empty()) return place(fallback);
    for (const FrameShape& shape : shapes)
        if (!place(shape)) return false;
    return true;
}

void MifPageGrower::RemovePages(const std::vector<UID>& pages)
{
    if (pages.empty()) return;
    // From the last: each page's frames are then the last of their thread, and the story's lines
    // before them stay good.
    UIDList items(&mDB);
    for (auto page = pages.rbegin(); page != pages.rend(); ++page) items.Append(*page);
    auto deletePageCmd = std::make_shared<DeletePageCmd>();
    deletePageCmd->boolData = true;   // the pages after shuffle into left and right again
    MIF_RUN_COMMAND(deletePageCmd, items);
}

void MifPageGrower::Report(const Flow& flow, int32 added, Outcome outcome) const
{
    if (!mErrors) return;
    const MifProblemReporter reporter(mErrors);
    PMString name = FlowName(flow.tag);
    if (added > 0) {
        PMString text("Added ");
        text.Append(PagesText(added));
        text.Append(" for ");
        text.Append(name);
        text.Append(" (autoconnected).");
        reporter.Report({0, text, PMString()});
    }
    if (outcome == Outcome::kNeverFits) {
        PMString text("Stopped adding pages for ");
        text.Append(name);
        text.Append(": a new page took none of its text (a line is wider than the frame, or the frame is too small for a "
                    "line); that page was removed and the rest of the text stays overset");
        reporter.Report({0, text, PMString()});
    } else if (outcome == Outcome::kLimit) {
        PMString text("Stopped adding pages for ");
        text.Append(name);
        text.Append(" at the limit of ");
        text.Append(PagesText(mMaxPages));
        text.Append(" added to a document; the rest of its text stays overset");
        reporter.Report({0, text, PMString()});
    } else if (outcome == Outcome::kFailed) {
        PMString text("Could not add pages for ");
        text.Append(name);
        text.Append("; the rest of its text stays overset");
        reporter.Report({0, text, PMString()});
    }
}
