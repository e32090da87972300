// ObjectModel: the factory of objects. Plug-ins register their implementations and the classes
// that are made of them; the host and plug-ins create objects by class and reach their interfaces
// by identifier.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Boss.h"
#include "IPMUnknown.h"
#include "InterfacePtr.h"

class ObjectModel {
public:
    using Factory = std::function<IPMUnknown*()>;

    static ObjectModel& Get();

    // Makes `impl` available under `implID`; a second registration replaces the first.
    void RegisterImplementation(ImplementationID implID, Factory impl);
    // Declares class `classID` (or keeps it as it is) and adds the interface `iid`, implemented by
    // `implID`, to it. This is also how a plug-in adds interfaces to the host's own classes.
    void AddInterface(ClassID classID, PMIID iid, ImplementationID implID);
    // Whether the class has been declared.
    bool IsClassRegistered(ClassID classID) const;
    // Creates an object of `classID` and returns its interface `iid` with one reference; null when
    // the class is unknown, lacks that interface, or an implementation is not registered.
    IPMUnknown* CreateObject(ClassID classID, PMIID iid);
    // Creates an object of `classID` with no reference held yet; null when the class is unknown.
    Boss* CreateBoss(ClassID classID);
    // Declares that objects of `classID` offer the service `serviceID` (import provider, ...).
    void RegisterService(PMIID serviceID, ClassID classID);
    // The classes that offer `serviceID`, in registration order.
    std::vector<ClassID> GetServiceProviders(PMIID serviceID) const;
    // Grows with every registration, so that holders of long-lived objects can tell they are stale.
    uint32 GetGeneration() const { return mGeneration; }

private:
    uint32 mGeneration = 0;
    std::map<ImplementationID, Factory> mImplementations;
    std::map<ClassID, std::vector<std::pair<PMIID, ImplementationID>>> mClasses;
    std::map<PMIID, std::vector<ClassID>> mServices;
};

// Creates an object and returns its interface T (kDefaultIID unless given), with one reference.
template <class T>
T* CreateObject2(ClassID classID, PMIID iid = T::kDefaultIID)
{
    return static_cast<T*>(ObjectModel::Get().CreateObject(classID, iid));
}

// The object of every utility interface; plug-ins add their utilities to it.
constexpr ClassID kUtilsBoss = 0x100;
// The object of a document (DataBase::QueryDocInterface); plug-ins add the interfaces that work
// on a document to it.
constexpr ClassID kDocBoss = 0x101;

// Access to a utility interface without an object: Utils<IMifFileUtils>()->ReplaceExtension(...).
// Tests whether it is there with operator bool.
template <class T>
class Utils {
public:
    Utils();
    T* operator->() const { return mIface.get(); }
    explicit operator bool() const { return static_cast<bool>(mIface); }

private:
    InterfacePtr<T> mIface;
};

// The one object of kUtilsBoss, created on first use and again after new registrations; null
// when nothing was added to it.
Boss* GetUtilsBoss();

template <class T>
Utils<T>::Utils()
{
    Boss* utils = GetUtilsBoss();
    IPMUnknown* iface = utils ? utils->Find(T::kDefaultIID) : nullptr;
    if (!iface) return;
    utils->AddRef();
    mIface = InterfacePtr<T>(static_cast<T*>(iface));
}
