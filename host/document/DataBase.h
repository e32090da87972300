// DataBase: the objects of one document, by UID, with the document's command manager.
//
// UIDs are handed out in creation order and never reused, so that dumps and packages name the
// same objects the same way from run to run.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "CommandMgr.h"
#include "DocObject.h"

class Boss;
class Document;
class IPMUnknown;

class DataBase {
public:
    DataBase();
    ~DataBase();
    DataBase(const DataBase&) = delete;
    DataBase& operator=(const DataBase&) = delete;

    // Stores a new object of type T and returns it (owned by the database).
    template <class T, class... Args>
    T* Create(Args&&... args)
    {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        T* result = object.get();
        Adopt(std::move(object));
        return result;
    }
    // The object `uid` as a T; null when it does not exist or is of another type.
    template <class T>
    T* Get(UID uid) const
    {
        return dynamic_cast<T*>(Find(uid));
    }
    DocObject* Find(UID uid) const;
    bool ExistsInDB(UID uid) const { return Find(uid) != nullptr; }
    // Removes and destroys the object; false when it does not exist.
    bool Delete(UID uid);
    // Takes an object back out without destroying it (for undo); null when it does not exist.
    std::unique_ptr<DocObject> Release(UID uid);
    // Puts back an object taken out by Release, under its old UID.
    void Restore(std::unique_ptr<DocObject> object);

    // The root object of the database.
    Document* GetDocument() const { return mDocument; }
    CommandMgr& GetCommandMgr() { return mCommandMgr; }
    // The interface `iid` of the document's object (kDocBoss), with a reference added; null when
    // it has none. The object is made on first use and lives as long as the database.
    IPMUnknown* QueryDocInterface(uint32 iid);
    // All objects in UID order.
    const std::map<UID, std::unique_ptr<DocObject>>& GetObjects() const { return mObjects; }

private:
    void Adopt(std::unique_ptr<DocObject> object);
    void Index(UID uid, DocObject* object);

    // Every object by UID, for lookups in constant time however large the document: UIDs are
    // handed out densely from 1. Null for UIDs whose object is gone.
    std::vector<DocObject*> mIndex;
    std::map<UID, std::unique_ptr<DocObject>> mObjects;
    UID mNextUID = 1;
    Document* mDocument = nullptr;
    CommandMgr mCommandMgr;
    Boss* mDocBoss = nullptr;
};
