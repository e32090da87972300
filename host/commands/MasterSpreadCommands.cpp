#include "MasterSpreadCommands.h"

#include <algorithm>

#include "Document.h"
#include "DocumentLayout.h"
#include "Spread.h"
#include "TextFrame.h"

namespace {
// InDesign's limit on the pages of one spread.
constexpr int32 kMaxPages = 10;
} // namespace

ErrorCode NewMasterSpreadCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!TargetsDocument() || prefix.CharCount() != 1 || baseName.IsEmpty() || pageCount < 0 || pageCount > kMaxPages)
        return kInvalidParameterError;
    Document* document = db->GetDocument();
    const int32 pages = pageCount > 0 ? pageCount : document->preferences.pagesPerSpread;
    for (UID uid : document->masterSpreads)
        if (const MasterSpread* master = db->Get<MasterSpread>(uid); master && master->prefix == prefix && master->baseName == baseName)
            return kInvalidParameterError;
    if (basedOn != kInvalidUID && !db->Get<MasterSpread>(basedOn)) return kInvalidParameterError;
    MasterSpread* master = db->Create<MasterSpread>();
    master->prefix = prefix;
    master->baseName = baseName;
    master->basedOn = basedOn;
    // A lone page stands right of the spine, as the first page of a facing document does.
    master->bindingLocation = document->preferences.facingPages && pages > 1 ? 1 : 0;
    document->masterSpreads.push_back(master->GetUID());
    for (int32 i = 0; i < pages; ++i) DocumentLayout::AddPage(*db, *master);
    mItems = UIDList(db);
    mItems.Append(master->GetUID());
    return kSuccess;
}

ErrorCode ApplyMasterSpreadCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.IsEmpty() || (masterUID != kInvalidUID && !db->Get<MasterSpread>(masterUID))) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs()) {
        const Page* page = db->Get<Page>(uid);
        // Masters apply to document pages; a master's own pages take its base instead.
        if (!page || db->Get<MasterSpread>(page->spread)) return kInvalidParameterError;
    }
    for (UID uid : mItems.GetUIDs()) db->Get<Page>(uid)->appliedMaster = masterUID;
    return kSuccess;
}

ErrorCode SetPrimaryTextFrameCmd::Do()
{
    DataBase* db = GetDataBase();
    MasterSpread* master = db && mItems.Length() == 1 ? db->Get<MasterSpread>(mItems.At(0)) : nullptr;
    if (!master) return kInvalidParameterError;
    if (frame != kInvalidUID) {
        const TextFrame* textFrame = db->Get<TextFrame>(frame);
        if (!textFrame || textFrame->spread != master->GetUID()) return kInvalidParameterError;
    }
    master->primaryTextFrame = frame;
    return kSuccess;
}
