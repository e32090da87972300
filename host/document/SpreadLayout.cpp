#include "SpreadLayout.h"

#include <algorithm>

#include "DataBase.h"
#include "Document.h"
#include "PageItem.h"
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

UID SpreadLayout::GetDrawingPage(const DataBase& db, const PageItem& item)
{
    const Spread* spread = db.Get<Spread>(item.spread);
    if (!spread) return kInvalidUID;
    PMRect bounds = item.GetBoundsInSpread();
    UID best = kInvalidUID;
    PMReal bestArea = -1;
    for (UID uid : spread->pages) {
        const Page* page = db.Get<Page>(uid);
        if (!page) continue;
        const PMRect& box = page->boundsInSpread;
        PMReal width = std::min(bounds.right, box.right) - std::max(bounds.left, box.left);
        PMReal height = std::min(bounds.bottom, box.bottom) - std::max(bounds.top, box.top);
        // A line or an item of no height touching the page counts as on it, with no area.
        if (width < 0 || height < 0) continue;
        PMReal area = width * height;
        if (area > bestArea) {
            bestArea = area;
            best = uid;
        }
    }
    return best;
}
