// IdmlContext: what the part writers of one package share: the document being written, the
// package being built, and the answers several parts need (page numbers, the ids of swatches,
// styles and lists, layer and master references, the stories written so far).
#pragma once

#include <set>
#include <string>
#include <vector>

#include "IdmlCatalog.h"
#include "IdmlPackageBuilder.h"
#include "PageNumbering.h"
#include "UIDRef.h"

class DataBase;
class Document;

class IdmlContext {
public:
    IdmlContext(const DataBase& db, IdmlPackageBuilder& package);

    const DataBase& GetDataBase() const { return mDB; }
    const Document& GetDocument() const { return *mDocument; }
    IdmlPackageBuilder& GetPackage() { return mPackage; }
    const PageNumbering& GetNumbering() const { return mNumbering; }
    // The Selfs and Names of the document's swatches, styles and lists.
    const IdmlCatalog& GetCatalog() const { return mCatalog; }

    // The document's layers that exist, front to back (as Document::layers).
    const std::vector<UID>& GetLayers() const { return mLayers; }
    // The Self of layer `layer`; the frontmost layer's when `layer` is not a layer of the
    // document, and the default layer's when the document has none.
    std::string LayerRef(UID layer) const;
    // The Self of master spread `master`; "n" when it is not a master spread the package holds
    // (see AddMaster).
    std::string MasterRef(UID master) const;
    // Records that master spread `master` is written into the package.
    void AddMaster(UID master) { mMasters.insert(master); }

    // Marks the model object `uid` as written; false when it was written before, so that an
    // object listed twice (a page in two spreads) gets one element and its Self stays unique.
    bool Claim(UID uid) { return mWritten.insert(uid).second; }

    // Stories written so far, in order, for designmap's StoryList.
    void AddStory(const std::string& self) { mStories.push_back(self); }
    const std::vector<std::string>& GetStories() const { return mStories; }

private:
    const DataBase& mDB;
    const Document* mDocument;
    IdmlPackageBuilder& mPackage;
    PageNumbering mNumbering;
    IdmlCatalog mCatalog;
    std::vector<UID> mLayers;
    std::vector<std::string> mStories;
    std::set<UID> mWritten;
    std::set<UID> mMasters;
};
