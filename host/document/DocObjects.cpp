#include "Boss.h"
#include "DataBase.h"
#include "ObjectModel.h"
#include "Document.h"
#include "Section.h"
#include "Spread.h"
#include "Style.h"
#include "FontManager.h"

bool UIDRef::ExistsInDB() const { return mDB && mDB->ExistsInDB(mUID); }

DataBase::DataBase() { mDocument = Create<Document>(); }

DataBase::~DataBase()
{
    // The document's object goes first: its interfaces may look at the document while they go.
    if (mDocBoss) mDocBoss->Release();
    mDocBoss = nullptr;
}

IPMUnknown* DataBase::QueryDocInterface(uint32 iid)
{
    if (!mDocBoss) {
        mDocBoss = ObjectModel::Get().CreateBoss(kDocBoss);
        if (!mDocBoss) return nullptr;
        mDocBoss->SetDataBase(this);
        mDocBoss->AddRef();
    }
    IPMUnknown* iface = mDocBoss->Find(iid);
    if (iface) mDocBoss->AddRef();
    return iface;
}

DocObject* DataBase::Find(UID uid) const
{
    return uid < mIndex.size() ? mIndex[uid] : nullptr;
}

void DataBase::Adopt(std::unique_ptr<DocObject> object)
{
    object->mUID = mNextUID++;
    object->mDB = this;
    Index(object->mUID, object.get());
    mObjects[object->mUID] = std::move(object);
}

void DataBase::Index(UID uid, DocObject* object)
{
    if (mIndex.size() <= uid) mIndex.resize(static_cast<size_t>(uid) + 1, nullptr);
    mIndex[uid] = object;
}

bool DataBase::Delete(UID uid) { return Release(uid) != nullptr; }

std::unique_ptr<DocObject> DataBase::Release(UID uid)
{
    auto it = mObjects.find(uid);
    if (it == mObjects.end() || it->second.get() == mDocument) return nullptr;
    std::unique_ptr<DocObject> object = std::move(it->second);
    mObjects.erase(it);
    Index(uid, nullptr);
    return object;
}

void DataBase::Restore(std::unique_ptr<DocObject> object)
{
    if (!object || object->mUID == kInvalidUID) return;
    object->mDB = this;
    Index(object->mUID, object.get());
    mObjects[object->mUID] = std::move(object);
}

std::vector<UID> Document::GetPages() const
{
    std::vector<UID> pages;
    for (UID uid : spreads)
        if (const Spread* spread = GetDataBase()->Get<Spread>(uid)) pages.insert(pages.end(), spread->pages.begin(), spread->pages.end());
    return pages;
}

void Document::RefreshMissingFonts()
{
    missingFonts.clear();
    for (UID uid : fontFamilies) {
        FontFamily* family = GetDataBase()->Get<FontFamily>(uid);
        if (!family) continue;
        family->FindInstalledFaces();
        if (!family->installed) missingFonts.push_back(family->name);
    }
}

void FontFamily::FindInstalledFaces()
{
    const FontGroup* group = FontManager::Get().FindFontGroup(name);
    installed = group != nullptr;
    installedFaces.clear();
    if (group)
        for (const InstalledFont& font : group->fonts) installedFaces.push_back(FontFace{font.style, font.postScriptName});
}

PMString MasterSpread::GetName() const
{
    PMString name(prefix);
    name.Append("-");
    name.Append(baseName);
    return name;
}
