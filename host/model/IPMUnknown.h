// IPMUnknown: the base of every interface of the object model.
//
// An object ("boss") is assembled from implementations, one per interface identifier, when the
// factory creates it. Any interface of an object reaches its siblings through QueryInterface; the
// reference count is the object's, so the object lives while any of its interfaces is held.
#pragma once

#include "PMTypes.h"

using PMIID = uint32;
using ClassID = uint32;
using ImplementationID = uint32;

class Boss;
class DataBase;

class IPMUnknown {
public:
    virtual ~IPMUnknown() = default;

    // The interface `iid` of the same object, with one reference added; null when the object has
    // no such interface (or this implementation is not part of an object).
    IPMUnknown* QueryInterface(PMIID iid) const;
    void AddRef() const;
    // Drops one reference; the object and all its implementations go with the last one.
    void Release() const;
    // The class the object was created as; 0 for a free-standing implementation.
    ClassID GetClass() const;
    // The document database the object belongs to; null outside documents.
    DataBase* GetDataBase() const;

private:
    friend class Boss;
    Boss* mBoss = nullptr;
};
