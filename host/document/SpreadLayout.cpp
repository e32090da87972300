#include "SpreadLayout.h"

#include <algorithm>

#include "DataBase.h"
#include "Document.h"
#include "Spread.h"

void SpreadLayout::Arrange(DataBase& db, Spread& spread)
{
    const Document* document = db.GetDocument();
    bool facing = document && document->preferences.facingPages;
    PMReal leftWidth = 0;
    PMReal totalWidth = 0;
    int32 binding = std::clamp<int32>(spread.bindingLocation, 0, static_cast<int32>(spread.pages.size()));
    for (size_t i = 0; i < spread.pages.size(); ++i) {
        const Page* page = db.Get<Page>(spread.pages[i]);
        if (!page) continue;
        if (static_cast<int32>(i) < binding) leftWidth += page->width;
        totalWidth += page->width;
    }
    PMReal x = facing ? -leftWidth : -totalWidth / 2;
    for (UID uid : spread.pages) {
        Page* page = db.Get<Page>(uid);
        if (!page) continue;
        page->boundsInSpread = PMRect(x, -page->height / 2, x + page->width, page->height / 2);
        x += page->width;
    }
}

namespace {

// Where `page` stands in its spread's list of pages; -1 when it is not in it.
int32 IndexInSpread(const Spread& spread, const Page& page)
{
    auto it = std::find(spread.pages.begin(), spread.pages.end(), page.GetUID());
    return it == spread.pages.end() ? -1 : static_cast<int32>(it - spread.pages.begin());
}

int32 BindingOf(const Spread& spread) { return std::clamp<int32>(spread.bindingLocation, 0, static_cast<int32>(spread.pages.size())); }

} // namespace

bool SpreadLayout::IsLeftPage(const DataBase& db, const Page& page)
{
    const Spread* spread = db.Get<Spread>(page.spread);
    int32 index = spread ? IndexInSpread(*spread, page) : -1;
    return index >= 0 && index < BindingOf(*spread);
}

const Page* SpreadLayout::GetMasterPage(const DataBase& db, const MasterSpread& master, const Page& page)
{
    if (master.pages.empty()) return nullptr;
    const int32 count = static_cast<int32>(master.pages.size());
    const Spread* spread = db.Get<Spread>(page.spread);
    int32 index = spread ? std::max(0, IndexInSpread(*spread, page)) : 0;
    const Document* document = db.GetDocument();
    if (document && document->preferences.facingPages) {
        int32 binding = BindingOf(master);
        // A master without a page of the wanted side lends the page it has.
        index = IsLeftPage(db, page) ? 0 : std::min(binding, count - 1);
    }
    return db.Get<Page>(master.pages[static_cast<size_t>(std::min(index, count - 1))]);
}
