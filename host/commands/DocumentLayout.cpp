#include "DocumentLayout.h"

#include <algorithm>
#include <unordered_map>

#include "Section.h"
#include "Story.h"
#include "PageItem.h"
#include "TextFrame.h"
#include "SpreadLayout.h"

namespace {

void Erase(std::vector<UID>& list, UID uid) { list.erase(std::remove(list.begin(), list.end(), uid), list.end()); }

} // namespace

Page* DocumentLayout::AddPage(DataBase& db, Spread& spread)
{
    Document* document = db.GetDocument();
    Page* page = db.Create<Page>();
    page->spread = spread.GetUID();
    page->width = document->preferences.pageWidth;
    page->height = document->preferences.pageHeight;
    if (!dynamic_cast<MasterSpread*>(&spread) && !document->masterSpreads.empty())
        page->appliedMaster = document->masterSpreads.front();
    spread.pages.push_back(page->GetUID());
    SpreadLayout::Arrange(db, spread);
    return page;
}

Spread* DocumentLayout::AddSpread(DataBase& db, int32 position, int32 pageCount)
{
    Document* document = db.GetDocument();
    Spread* spread = db.Create<Spread>();
    // In a facing document the pages of a spread sit on both sides of the spine, the first
    // spread's lone page on its right.
    bool facing = document->preferences.facingPages;
    spread->bindingLocation = facing && !(document->spreads.empty() && pageCount == 1) ? 1 : 0;
    if (position < 0 || position > static_cast<int32>(document->spreads.size()))
        document->spreads.push_back(spread->GetUID());
    else
        document->spreads.insert(document->spreads.begin() + position, spread->GetUID());
    for (int32 i = 0; i < pageCount; ++i) AddPage(db, *spread);
    return spread;
}

void DocumentLayout::RemovePage(DataBase& db, UID pageUID)
{
    Document* document = db.GetDocument();
    Page* page = db.Get<Page>(pageUID);
    if (!page) return;
    // The page after this one, found only when a section starts here: removing pages one by
    // one must not walk the whole document each time.
    bool nextKnown = false;
    UID next = kInvalidUID;
    for (UID sectionUID : std::vector<UID>(document->sections)) {
        Section* section = db.Get<Section>(sectionUID);
        if (!section || section->startPage != pageUID) continue;
        if (!nextKnown) {
            std::vector<UID> pages = document->GetPages();
            auto at = std::find(pages.begin(), pages.end(), pageUID);
            next = at != pages.end() && at + 1 != pages.end() ? *(at + 1) : kInvalidUID;
            nextKnown = true;
        }
        // A section whose start page goes starts at the next page; with no page left it goes too.
        bool nextStartsAnother = false;
        for (UID other : document->sections)
            if (const Section* s = db.Get<Section>(other); s && s != section && s->startPage == next) nextStartsAnother = true;
        if (next == kInvalidUID || nextStartsAnother) {
            Erase(document->sections, sectionUID);
            db.Delete(sectionUID);
        } else {
            section->startPage = next;
        }
    }
    if (Spread* spread = db.Get<Spread>(page->spread)) {
        auto index = std::find(spread->pages.begin(), spread->pages.end(), pageUID) - spread->pages.begin();
        Erase(spread->pages, pageUID);
        if (index < spread->bindingLocation) --spread->bindingLocation;
        if (spread->pages.empty() && !dynamic_cast<MasterSpread*>(spread)) {
            RemoveSpread(db, spread->GetUID());
        } else {
            SpreadLayout::Arrange(db, *spread);
        }
    }
    db.Delete(pageUID);
}

void DocumentLayout::RemoveSpread(DataBase& db, UID spreadUID)
{
    Document* document = db.GetDocument();
    Spread* spread = db.Get<Spread>(spreadUID);
    if (!spread) return;
    std::vector<UID> pages = spread->pages;
    spread->pages.clear();
    for (UID page : pages) {
        for (UID sectionUID : std::vector<UID>(document->sections)) {
            Section* section = db.Get<Section>(sectionUID);
            if (section && section->startPage == page) {
                Erase(document->sections, sectionUID);
                db.Delete(sectionUID);
            }
        }
        db.Delete(page);
    }
    for (UID item : std::vector<UID>(spread->pageItems)) RemovePageItem(db, item);
    Erase(document->spreads, spreadUID);
    Erase(document->masterSpreads, spreadUID);
    db.Delete(spreadUID);
}

void DocumentLayout::RemovePageItem(DataBase& db, UID itemUID)
{
    PageItem* item = db.Get<PageItem>(itemUID);
    if (!item) return;
    if (Spread* spread = db.Get<Spread>(item->spread)) Erase(spread->pageItems, itemUID);
    if (TextFrame* frame = dynamic_cast<TextFrame*>(item)) {
        TextFrame* previous = db.Get<TextFrame>(frame->previousFrame);
        TextFrame* next = db.Get<TextFrame>(frame->nextFrame);
        if (previous) previous->nextFrame = next ? next->GetUID() : kInvalidUID;
        if (next) next->previousFrame = previous ? previous->GetUID() : kInvalidUID;
        if (!previous && !next) {
            Erase(db.GetDocument()->stories, frame->story);
            db.Delete(frame->story);
        } else if (Story* story = db.Get<Story>(frame->story)) {
            FrameList& frameList = story->frameList;
            bool lastEntry = frameList.GetFrameCount() > 0 && frameList.GetFrameUID(frameList.GetFrameCount() - 1) == itemUID;
            if (!next && lastEntry && frameList.RemoveLastEmptyFrame()) {
            } else {
                frameList.Reset();
            }
        }
    }
    db.Delete(itemUID);
}

namespace {

// A page being dealt into spreads, with the items drawn on it and where it lay.
struct Dealt {
    UID page;
    PMRect before;
    std::vector<UID> items;
};

// The pages of `spreads` in order, each with the items drawn on it (items on no page go with
// the first page of their spread).
std::vector<Dealt> CollectPages(DataBase& db, const std::vector<UID>& spreads)
{
    std::vector<Dealt> pages;
    for (UID spreadUID : spreads) {
        Spread* spread = db.Get<Spread>(spreadUID);
        if (!spread) continue;
        std::unordered_map<UID, size_t> indexOf;
        size_t first = pages.size();
        for (UID uid : spread->pages) {
            const Page* page = db.Get<Page>(uid);
            if (!page) continue;
            indexOf[uid] = pages.size();
            pages.push_back({uid, page->boundsInSpread, {}});
        }
        for (UID item : spread->pageItems) {
            const PageItem* pageItem = db.Get<PageItem>(item);
            if (!pageItem) continue;
            auto on = indexOf.find(SpreadLayout::GetDrawingPage(db, *pageItem));
            if (on != indexOf.end()) pages[on->second].items.push_back(item);
            else if (first < pages.size()) pages[first].items.push_back(item);
        }
    }
    return pages;
}

// Moves the items of each page by as much as the page moved in its spread since `pages` were
// collected, so that they keep their place on it.
void MoveItemsWithPages(DataBase& db, const std::vector<Dealt>& pages)
{
    for (const Dealt& dealt : pages) {
        const Page* page = db.Get<Page>(dealt.page);
        if (!page || dealt.items.empty()) continue;
        PMReal dx = page->boundsInSpread.left - dealt.before.left, dy = page->boundsInSpread.top - dealt.before.top;
        if (dx == 0 && dy == 0) continue;
        for (UID item : dealt.items) {
            PageItem* pageItem = db.Get<PageItem>(item);
            pageItem->itemTransform.tx += dx;
            pageItem->itemTransform.ty += dy;
        }
    }
}

// Deals `pages` into the spreads of the document from `firstSpread` on (`spreads`, which are
// reused in order, made when more are needed and removed when fewer are): a left page opens a
// spread, a right page closes the spread its left page opened. The first page is a left page
// when `left`; the others alternate. Items keep their place on their page.
void DealPages(DataBase& db, size_t firstSpread, std::vector<UID> spreads, const std::vector<Dealt>& pages, bool left)
{
    Document* document = db.GetDocument();
    size_t used = 0;
    Spread* current = nullptr;
    auto nextSpread = [&]() {
        if (current) SpreadLayout::Arrange(db, *current);
        if (used < spreads.size() && db.Get<Spread>(spreads[used])) {
            current = db.Get<Spread>(spreads[used]);
        } else {
            current = db.Create<Spread>();
            spreads.insert(spreads.begin() + static_cast<std::ptrdiff_t>(used), current->GetUID());
        }
        ++used;
        current->pages.clear();
        current->pageItems.clear();
    };
    for (const Dealt& dealt : pages) {
        if (left || !current || current->pages.size() != 1 || current->bindingLocation != 1) {
            nextSpread();
            current->bindingLocation = left ? 1 : 0;
        }
        current->pages.push_back(dealt.page);
        db.Get<Page>(dealt.page)->spread = current->GetUID();
        for (UID item : dealt.items) {
            current->pageItems.push_back(item);
            db.Get<PageItem>(item)->spread = current->GetUID();
        }
        left = !left;
    }
    if (current) SpreadLayout::Arrange(db, *current);
    for (size_t s = used; s < spreads.size(); ++s) db.Delete(spreads[s]);
    spreads.resize(used);
    document->spreads.resize(firstSpread);
    document->spreads.insert(document->spreads.end(), spreads.begin(), spreads.end());
    MoveItemsWithPages(db, pages);
}

} // namespace

std::vector<UID> DocumentLayout::InsertPages(DataBase& db, UID afterPage, int32 count)
{
    std::vector<UID> added;
    Document* document = db.GetDocument();
    const Page* after = db.Get<Page>(afterPage);
    Spread* spread = after ? db.Get<Spread>(after->spread) : nullptr;
    auto spreadAt = spread ? std::find(document->spreads.begin(), document->spreads.end(), spread->GetUID()) : document->spreads.end();
    if (count < 1 || spreadAt == document->spreads.end()) return added;
    size_t spreadIndex = static_cast<size_t>(spreadAt - document->spreads.begin());
    auto pageAt = std::find(spread->pages.begin(), spread->pages.end(), afterPage) - spread->pages.begin();
    bool lastOfSpread = pageAt + 1 == static_cast<std::ptrdiff_t>(spread->pages.size());
    if (!document->preferences.facingPages) {
        std::vector<Dealt> before = lastOfSpread ? std::vector<Dealt>() : CollectPages(db, {spread->GetUID()});
        for (int32 i = 0; i < count; ++i) {
            if (lastOfSpread) {
                Spread* next = AddSpread(db, static_cast<int32>(spreadIndex + 1 + static_cast<size_t>(i)), 1);
                added.push_back(next->pages.front());
            } else {
                // Pages follow `afterPage` in its spread: the new ones join it there.
                Page* page = AddPage(db, *spread);
                spread->pages.pop_back();
                spread->pages.insert(spread->pages.begin() + pageAt + 1 + i, page->GetUID());
                added.push_back(page->GetUID());
            }
        }
        MoveItemsWithPages(db, before);
        return added;
    }
    // Facing pages: the pages from afterPage's spread on, with their items as they lie now, are
    // dealt into spreads again with the new pages after afterPage.
    std::vector<UID> spreads(spreadAt, document->spreads.end());
    bool left = spread->bindingLocation > 0;
    std::vector<Dealt> pages = CollectPages(db, spreads);
    auto at = std::find_if(pages.begin(), pages.end(), [afterPage](const Dealt& d) { return d.page == afterPage; });
    std::vector<Dealt> fresh;
    for (int32 i = 0; i < count; ++i) {
        Page* page = db.Create<Page>();
        page->width = document->preferences.pageWidth;
        page->height = document->preferences.pageHeight;
        if (!document->masterSpreads.empty()) page->appliedMaster = document->masterSpreads.front();
        fresh.push_back({page->GetUID(), PMRect(), {}});
        added.push_back(page->GetUID());
    }
    pages.insert(at == pages.end() ? at : at + 1, fresh.begin(), fresh.end());
    DealPages(db, spreadIndex, spreads, pages, left);
    return added;
}

void DocumentLayout::ShufflePages(DataBase& db, size_t firstSpread)
{
    Document* document = db.GetDocument();
    if (!document->preferences.facingPages || firstSpread >= document->spreads.size()) return;
    std::vector<UID> spreads(document->spreads.begin() + static_cast<std::ptrdiff_t>(firstSpread), document->spreads.end());
    const Spread* first = db.Get<Spread>(spreads.front());
    bool left = first && first->bindingLocation > 0;
    DealPages(db, firstSpread, spreads, CollectPages(db, spreads), left);
}
