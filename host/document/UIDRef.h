// UIDs name the objects of one document's database; a UIDRef adds the database, a UIDList holds
// several objects of one database.
#pragma once

#include <cstddef>
#include <vector>

#include "PMTypes.h"

using UID = uint32;
constexpr UID kInvalidUID = 0;

class DataBase;

class UIDRef {
public:
    UIDRef() = default;
    UIDRef(DataBase* db, UID uid) : mDB(db), mUID(uid) {}
    DataBase* GetDataBase() const { return mDB; }
    UID GetUID() const { return mUID; }
    // Whether the object still exists in its database.
    bool ExistsInDB() const;
    friend bool operator==(const UIDRef&, const UIDRef&) = default;

private:
    DataBase* mDB = nullptr;
    UID mUID = kInvalidUID;
};

class UIDList {
public:
    UIDList() = default;
    explicit UIDList(DataBase* db) : mDB(db) {}
    explicit UIDList(const UIDRef& ref) : mDB(ref.GetDataBase()) { Append(ref.GetUID()); }

    DataBase* GetDataBase() const { return mDB; }
    int32 Length() const { return static_cast<int32>(mUIDs.size()); }
    bool IsEmpty() const { return mUIDs.empty(); }
    UID At(int32 i) const { return mUIDs.at(static_cast<size_t>(i)); }
    UIDRef GetRef(int32 i) const { return UIDRef(mDB, At(i)); }
    void Append(UID uid) { mUIDs.push_back(uid); }
    void Clear() { mUIDs.clear(); }
    const std::vector<UID>& GetUIDs() const { return mUIDs; }

private:
    DataBase* mDB = nullptr;
    std::vector<UID> mUIDs;
};
