// DocObject: an object stored in a document's database under its UID.
#pragma once

#include "UIDRef.h"

class DocObject {
public:
    virtual ~DocObject() = default;
    UID GetUID() const { return mUID; }
    DataBase* GetDataBase() const { return mDB; }
    UIDRef GetRef() const { return UIDRef(mDB, mUID); }

private:
    friend class DataBase;
    UID mUID = kInvalidUID;
    DataBase* mDB = nullptr;
};
