#include "DocumentLayout.h"

#include <algorithm>

#include "Section.h"
#include "Story.h"
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
        }
    }
    db.Delete(itemUID);
}
