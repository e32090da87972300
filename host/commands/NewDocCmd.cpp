#include "NewDocCmd.h"

#include <algorithm>

#include "DocumentLayout.h"
#include "DocumentList.h"
#include "Section.h"
#include "StyleUtils.h"
#include "SwatchUtils.h"

ErrorCode NewDocCmd::Do()
{
    PMReal width = mData.pageSize.Width(), height = mData.pageSize.Height();
    if (!(width > 0 && height > 0) || width > 15552 || height > 15552 || mData.numPages < 0) return kInvalidParameterError;
    DataBase* db = DocumentList::NewDataBase();
    Document* document = db->GetDocument();
    DocumentPreferences& prefs = document->preferences;
    prefs.pageWidth = width;
    prefs.pageHeight = height;
    prefs.wide = mData.wide;
    prefs.pagesPerSpread = std::clamp<int32>(mData.pagesPerSpread, 1, 2);
    prefs.facingPages = prefs.pagesPerSpread == 2;

    SwatchUtils::AddDefaultSwatches(*db);
    StyleUtils::AddDefaultStyles(*db);

    Layer* layer = db->Create<Layer>();
    layer->name = "Layer 1";
    document->layers.push_back(layer->GetUID());

    MasterSpread* master = db->Create<MasterSpread>();
    master->prefix = "A";
    master->baseName = "Master";
    master->bindingLocation = prefs.facingPages ? 1 : 0;
    document->masterSpreads.push_back(master->GetUID());
    for (int32 i = 0; i < prefs.pagesPerSpread; ++i) DocumentLayout::AddPage(*db, *master);

    // Pages: a lone right page first in a facing document, then pairs.
    int32 remaining = std::max<int32>(mData.numPages, 1);
    while (remaining > 0) {
        int32 count = prefs.facingPages && !document->spreads.empty() ? std::min<int32>(remaining, 2) : 1;
        DocumentLayout::AddSpread(*db, -1, count);
        remaining -= count;
    }
    Section* section = db->Create<Section>();
    section->startPage = document->GetPages().front();
    document->sections.push_back(section->GetUID());

    mItems = UIDList(db);
    mItems.Append(document->GetUID());
    return kSuccess;
}
