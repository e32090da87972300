#include "MifLayoutImporter.h"

#include <algorithm>
#include <memory>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "MifAssertLog.h"
#include "MasterSpreadCommands.h"
#include "MifKeywords.h"
#include "MifObject.h"
#include "PageCommands.h"
#include "Spread.h"

void MifLayoutImporter::Init(const IDFile& file, MifObject* mifRoot, int32 uiFlags)
{
    mSourceFile = file;
    mMifRoot = mifRoot;
    mUIFlags = uiFlags;
    mTempSpreads = UIDList(GetDataBase());
}

void MifLayoutImporter::CreateTemporarySpread()
{
    DataBase* db = GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    auto newSpreadCmd = std::make_shared<NewSpreadCmd>();
    newSpreadCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
    newSpreadCmd->position = -1;
    newSpreadCmd->numPages = 1;
    if (CmdUtils::ProcessCommand(newSpreadCmd) != kSuccess) {
        MIF_LOG_FAILED(newSpreadCmd);
        return;
    }
    if (mTempSpreads.IsEmpty())
        mTempSpreads = newSpreadCmd->GetItemList();
    else
        mTempSpreads.Append(newSpreadCmd->GetItemList().At(0));
}

int32 MifLayoutImporter::GetTemporaryPageCount() const
{
    DataBase* db = mTempSpreads.GetDataBase();
    int32 count = 0;
    for (UID uid : mTempSpreads.GetUIDs())
        if (const Spread* spread = db ? db->Get<Spread>(uid) : nullptr) count += static_cast<int32>(spread->pages.size());
    return count;
}

void MifLayoutImporter::Finalize()
{
    for (int32 i = 0; i < mTempSpreads.Length(); ++i) {
        auto deleteSpreadCmd = std::make_shared<DeleteSpreadCmd>();
        deleteSpreadCmd->SetItemList(UIDList(mTempSpreads.GetRef(i)));
        deleteSpreadCmd->boolData = false;
        if (CmdUtils::ProcessCommand(deleteSpreadCmd) != kSuccess) MIF_LOG_ERROR(deleteSpreadCmd);
    }
    mTempSpreads.Clear();
}

namespace {

// Master prefixes in the order they are given; letter 0 is the new document's own master.
constexpr char kPrefixLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int32 kPrefixCount = 52;

PMString Trimmed(const PMString& text)
{
    const std::u16string& s = text.GetUTF16();
    size_t b = 0, e = s.size();
    auto blank = [](char16_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return PMString(s.substr(b, e - b));
}

const PMString* PageTag(const MifObject& mifPage)
{
    const MifProp* prop = mifPage.FindProp(kMifPageTag);
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

} // namespace

UID MifLayoutImporter::GetMasterForTag(const PMString& tag) const
{
    auto found = mMasterTagMap.find(tag);
    return found == mMasterTagMap.end() ? kInvalidUID : found->second;
}

void MifLayoutImporter::ImportLayout()
{
    DataBase* db = GetDataBase();
    if (!db || !mMifRoot) {
        MIF_LOG_NIL(mMifRoot);
        return;
    }
    const MifObject* mifDocument = mMifRoot->GetObject(kMifDocument);
    bool twoSided = mifDocument && mifDocument->GetBool(kMifDTwoSides);
    std::vector<const MifObject*> mifPages;
    for (const MifProp* prop : mMifRoot->props)
        if (prop->id == kMifPage && prop->type == kMifTypeObject && prop->value.object) mifPages.push_back(prop->value.object);
    auto typeOf = [](const MifObject& mifPage) {
        MifPropVal pageType;
        return mifPage.GetPropVal(kMifPageType, pageType) ? pageType.keyword : kMifBodyPage;
    };
    auto isMaster = [](int32 type) { return type == kMifLeftMasterPage || type == kMifRightMasterPage || type == kMifOtherMasterPage; };

    // The master spreads first, in file order: writers such as openjade put the master pages
    // after the body pages that name them, and FrameMaker finds them wherever they stand.
    std::vector<UID> masterOf(mifPages.size(), kInvalidUID);
    size_t end = mifPages.size();  // a master page without a master ends the walk here
    int32 masterCount = 0;
    for (size_t i = 0; i < mifPages.size(); ++i) {
        int32 type = typeOf(*mifPages[i]);
        if (!isMaster(type)) continue;
        UID masterSpread = MasterSpreadFor(*mifPages[i], type, masterCount);
        if (masterSpread == kInvalidUID) {
            MIF_LOG_NIL(masterSpread);
            end = i;
            break;
        }
        masterOf[i] = masterSpread;
    }

    std::vector<UID> pageList = db->GetDocument()->GetPages();
    // The scratch spread's page stands after the body pages and is never a target.
    size_t bodyPages = pageList.size() - std::min(pageList.size(), static_cast<size_t>(GetTemporaryPageCount()));
    size_t bodyPage = 0;
    for (size_t i = 0; i < end; ++i) {
        const MifObject& mifPage = *mifPages[i];
        int32 type = typeOf(mifPage);
        if (type == kMifBodyPage) {
            if (bodyPage >= bodyPages) {
                MIF_LOG_FALSE(bodyPage < pageList.size());
                continue;
            }
            ImportPage(pageList[bodyPage++], mifPage);
        } else if (isMaster(type)) {
            if (type == kMifLeftMasterPage && !twoSided) continue;  // a single-sided document has no left pages
            const MasterSpread* master = db->Get<MasterSpread>(masterOf[i]);
            size_t index = type == kMifRightMasterPage && twoSided ? 1 : 0;
            if (!master || index >= master->pages.size()) {
                MIF_LOG_NIL(master);
                continue;
            }
            ImportPage(master->pages[index], mifPage);
        }
        // Reference and hidden pages, with everything on them, stay out of the document.
    }
}

UID MifLayoutImporter::MasterSpreadFor(const MifObject& mifPage, int32 pageType, int32& masterCount)
{
    const PMString* tag = PageTag(mifPage);
    if (!tag) return kInvalidUID;
    DataBase* db = GetDataBase();
    UID masterSpread = kInvalidUID;
    if (pageType == kMifOtherMasterPage) {
        auto newMasterSpreadCmd = std::make_shared<NewMasterSpreadCmd>();
        newMasterSpreadCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
        // Letters B to z, then round again (without A, the document's own) with a number behind
        // the name, so that prefix and name stay unique.
        int32 round = masterCount / (kPrefixCount - 1);
        newMasterSpreadCmd->prefix = PMString(std::string(1, kPrefixLetters[1 + masterCount % (kPrefixCount - 1)]));
        PMString name = Trimmed(*tag);
        if (name.IsEmpty()) name = "Master";
        if (round > 0) {
            name.Append(" (");
            name.AppendNumber(round + 1);
            name.Append(")");
        }
        newMasterSpreadCmd->baseName = name;
        ++masterCount;
        if (CmdUtils::ProcessCommand(newMasterSpreadCmd) != kSuccess) {
            MIF_LOG_FAILED(newMasterSpreadCmd);
            return kInvalidUID;
        }
        masterSpread = newMasterSpreadCmd->GetItemList().At(0);
    } else {
        const std::vector<UID>& masters = db->GetDocument()->masterSpreads;
        masterSpread = masters.empty() ? kInvalidUID : masters.front();
    }
    mMasterTagMap[*tag] = masterSpread;
    return masterSpread;
}

void MifLayoutImporter::ImportPage(UID targetPage, const MifObject& mifPage)
{
    DataBase* db = GetDataBase();
    const PMString* background = nullptr;
    if (const MifProp* prop = mifPage.FindProp(kMifPageBackground); prop && MifIsStringType(prop->type))
        background = prop->value.rawString;
    const Page* page = db->Get<Page>(targetPage);
    // Masters are applied to document pages; "Default" keeps the master the page has ("A").
    if (page && !db->Get<MasterSpread>(page->spread) && background && !background->IsEmpty() &&
        *background != PMString("Default")) {
        auto applyMasterSpreadCmd = std::make_shared<ApplyMasterSpreadCmd>();
        applyMasterSpreadCmd->SetItemList(UIDList(UIDRef(db, targetPage)));
        applyMasterSpreadCmd->masterUID = *background == PMString("None") ? kInvalidUID : GetMasterForTag(*background);
        if (CmdUtils::ProcessCommand(applyMasterSpreadCmd) != kSuccess) MIF_LOG_FAILED(applyMasterSpreadCmd);
    }
    // The objects of the page (text frames, graphics, images) come with the frame import.
}
