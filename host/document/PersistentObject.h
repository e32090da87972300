// PersistentObject: an object of a plug-in's own class kept in a document's database, with the
// plug-in's persistent data implementations on it. The host knows only its class; the plug-in
// reaches its data through QueryInterface. A document that holds such objects depends on the
// plug-in, which removes them in the second conversion phase (Phase2Conversion).
#pragma once

#include "DocObject.h"
#include "IPMUnknown.h"

class DataBase;

constexpr ClassID kInvalidClass = 0;

class PersistentObject : public DocObject {
public:
    // The class of the object `uid` of `db` when it is a PersistentObject; kInvalidClass for the
    // host's own objects and for UIDs that do not exist.
    static ClassID ClassOf(const DataBase& db, UID uid);

    // An object of `classID` as the factory makes it; without interfaces when the class is
    // unknown (a plug-in that is not loaded).
    explicit PersistentObject(ClassID classID);
    ~PersistentObject() override;
    PersistentObject(const PersistentObject&) = delete;
    PersistentObject& operator=(const PersistentObject&) = delete;

    ClassID GetClass() const { return mClass; }
    // The interface `iid` of the object with one reference added; null when it has none.
    IPMUnknown* QueryInterface(PMIID iid) const;

private:
    ClassID mClass;
    Boss* mBoss = nullptr;
};
