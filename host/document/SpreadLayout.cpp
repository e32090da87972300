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
