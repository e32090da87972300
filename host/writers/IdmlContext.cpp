#include "IdmlContext.h"

#include <algorithm>

#include "DataBase.h"
#include "Document.h"
#include "IdmlIds.h"
#include "Spread.h"

IdmlContext::IdmlContext(const DataBase& db, IdmlPackageBuilder& package)
    : mDB(db), mDocument(db.GetDocument()), mPackage(package), mNumbering(db), mCatalog(db)
{
    for (UID uid : mDocument->layers)
        if (db.Get<Layer>(uid) && std::find(mLayers.begin(), mLayers.end(), uid) == mLayers.end()) mLayers.push_back(uid);
}

std::string IdmlContext::LayerRef(UID layer) const
{
    if (mLayers.empty()) return IdmlIds::kDefaultLayer;
    bool known = std::find(mLayers.begin(), mLayers.end(), layer) != mLayers.end();
    return IdmlIds::ForUID(known ? layer : mLayers.front());
}

std::string IdmlContext::MasterRef(UID master) const
{
    return mMasters.count(master) ? IdmlIds::ForUID(master) : IdmlIds::kNone;
}
