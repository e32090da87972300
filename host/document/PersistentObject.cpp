#include "PersistentObject.h"

#include "Boss.h"
#include "DataBase.h"
#include "ObjectModel.h"

PersistentObject::PersistentObject(ClassID classID) : mClass(classID), mBoss(ObjectModel::Get().CreateBoss(classID))
{
    if (mBoss) mBoss->AddRef();
}

PersistentObject::~PersistentObject()
{
    if (mBoss) mBoss->Release();
}

IPMUnknown* PersistentObject::QueryInterface(PMIID iid) const
{
    IPMUnknown* iface = mBoss ? mBoss->Find(iid) : nullptr;
    if (!iface) return nullptr;
    mBoss->SetDataBase(GetDataBase());
    mBoss->AddRef();
    return iface;
}

ClassID PersistentObject::ClassOf(const DataBase& db, UID uid)
{
    auto* object = dynamic_cast<const PersistentObject*>(db.Find(uid));
    return object ? object->GetClass() : kInvalidClass;
}
