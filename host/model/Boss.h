// Boss: one object of the object model, owning an implementation per interface identifier.
#pragma once

#include <memory>
#include <vector>

#include "IPMUnknown.h"

class DataBase;

class Boss {
public:
    explicit Boss(ClassID classID) : mClass(classID) {}
    Boss(const Boss&) = delete;
    Boss& operator=(const Boss&) = delete;

    // Takes ownership of `impl` as the interface `iid`.
    void Add(PMIID iid, IPMUnknown* impl);
    // The implementation of `iid`, without a reference added; null when absent.
    IPMUnknown* Find(PMIID iid) const;
    ClassID GetClass() const { return mClass; }
    // The document database the object belongs to; null for objects outside documents.
    DataBase* GetDataBase() const { return mDataBase; }
    void SetDataBase(DataBase* db) { mDataBase = db; }

    void AddRef() { ++mRefCount; }
    void Release();

private:
    ClassID mClass;
    DataBase* mDataBase = nullptr;
    int32 mRefCount = 0;
    std::vector<std::pair<PMIID, std::unique_ptr<IPMUnknown>>> mImpls;
};
