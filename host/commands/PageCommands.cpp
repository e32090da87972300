#include "PageCommands.h"

#include "DocumentLayout.h"

#include <algorithm>

#include "PageItem.h"
#include "SpreadLayout.h"

ErrorCode DeletePageCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.IsEmpty()) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs())
        if (!db->Get<Page>(uid)) return kInvalidParameterError;
    // A document keeps at least one page.
    Document* document = db->GetDocument();
    if (document->GetPageCount() <= mItems.Length()) return kFailure;
    // Where the shuffle starts: the spread of the first deleted page, or the one before it when
    // that spread goes.
    size_t firstSpread = document->spreads.size();
    for (UID uid : mItems.GetUIDs()) {
        const Page* page = db->Get<Page>(uid);
        auto at = std::find(document->spreads.begin(), document->spreads.end(), page->spread);
        if (at != document->spreads.end()) firstSpread = std::min(firstSpread, static_cast<size_t>(at - document->spreads.begin()));
        if (Spread* spread = db->Get<Spread>(page->spread)) {
            std::vector<UID> drawn;
            for (UID item : spread->pageItems)
                if (const PageItem* pageItem = db->Get<PageItem>(item); pageItem && SpreadLayout::GetDrawingPage(*db, *pageItem) == uid)
                    drawn.push_back(item);
            for (UID item : drawn) DocumentLayout::RemovePageItem(*db, item);
        }
        DocumentLayout::RemovePage(*db, uid);
    }
    if (boolData) DocumentLayout::ShufflePages(*db, firstSpread > 0 ? firstSpread - 1 : 0);
    return kSuccess;
}

ErrorCode NewSpreadCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.Length() != 1 || mItems.At(0) != db->GetDocument()->GetUID() || numPages < 1 || numPages > 10)
        return kInvalidParameterError;
    Spread* spread = DocumentLayout::AddSpread(*db, position, numPages);
    mItems = UIDList(db);
    mItems.Append(spread->GetUID());
    return kSuccess;
}

ErrorCode DeleteSpreadCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.IsEmpty()) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs())
        if (!db->Get<Spread>(uid) || db->Get<MasterSpread>(uid)) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs()) DocumentLayout::RemoveSpread(*db, uid);
    return kSuccess;
}

ErrorCode NewPageCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.Length() != 1 || numPages < 1 || numPages > kMaxPages) return kInvalidParameterError;
    const Page* after = db->Get<Page>(mItems.At(0));
    if (!after || db->Get<MasterSpread>(after->spread)) return kInvalidParameterError;
    std::vector<UID> pages = DocumentLayout::InsertPages(*db, mItems.At(0), numPages);
    if (pages.empty()) return kInvalidParameterError;
    mItems = UIDList(db);
    for (UID page : pages) mItems.Append(page);
    return kSuccess;
}
