#include "ObjectModel.h"

#include "Boss.h"

IPMUnknown* IPMUnknown::QueryInterface(PMIID iid) const
{
    if (!mBoss) return nullptr;
    IPMUnknown* found = mBoss->Find(iid);
    if (found) mBoss->AddRef();
    return found;
}

void IPMUnknown::AddRef() const
{
    if (mBoss) mBoss->AddRef();
}

void IPMUnknown::Release() const
{
    if (mBoss) mBoss->Release();
}

ClassID IPMUnknown::GetClass() const { return mBoss ? mBoss->GetClass() : 0; }

DataBase* IPMUnknown::GetDataBase() const { return mBoss ? mBoss->GetDataBase() : nullptr; }

void Boss::Add(PMIID iid, IPMUnknown* impl)
{
    impl->mBoss = this;
    mImpls.emplace_back(iid, std::unique_ptr<IPMUnknown>(impl));
}

IPMUnknown* Boss::Find(PMIID iid) const
{
    for (const auto& [id, impl] : mImpls)
        if (id == iid) return impl.get();
    return nullptr;
}

void Boss::Release()
{
    if (--mRefCount == 0) delete this;
}

ObjectModel& ObjectModel::Get()
{
    static ObjectModel model;
    return model;
}

void ObjectModel::RegisterImplementation(ImplementationID implID, Factory impl)
{
    mImplementations[implID] = std::move(impl);
    ++mGeneration;
}

void ObjectModel::AddInterface(ClassID classID, PMIID iid, ImplementationID implID)
{
    ++mGeneration;
    auto& ifaces = mClasses[classID];
    for (auto& entry : ifaces) {
        if (entry.first == iid) {
            entry.second = implID;
            return;
        }
    }
    ifaces.emplace_back(iid, implID);
}

void ObjectModel::RegisterService(PMIID serviceID, ClassID classID)
{
    auto& providers = mServices[serviceID];
    for (ClassID existing : providers)
        if (existing == classID) return;
    providers.push_back(classID);
}

std::vector<ClassID> ObjectModel::GetServiceProviders(PMIID serviceID) const
{
    auto it = mServices.find(serviceID);
    return it == mServices.end() ? std::vector<ClassID>() : it->second;
}

bool ObjectModel::IsClassRegistered(ClassID classID) const { return mClasses.count(classID) != 0; }

Boss* ObjectModel::CreateBoss(ClassID classID)
{
    auto cls = mClasses.find(classID);
    if (cls == mClasses.end()) return nullptr;
    auto boss = std::make_unique<Boss>(classID);
    for (const auto& [ifaceID, implID] : cls->second) {
        auto factory = mImplementations.find(implID);
        if (factory == mImplementations.end()) continue;
        IPMUnknown* impl = factory->second();
        if (impl) boss->Add(ifaceID, impl);
    }
    return boss.release();
}

IPMUnknown* ObjectModel::CreateObject(ClassID classID, PMIID iid)
{
    Boss* boss = CreateBoss(classID);
    if (!boss) return nullptr;
    IPMUnknown* result = boss->Find(iid);
    if (!result) {
        delete boss;
        return nullptr;
    }
    boss->AddRef();
    return result;
}

Boss* GetUtilsBoss()
{
    static Boss* utils = nullptr;
    static uint32 generation = 0;
    ObjectModel& model = ObjectModel::Get();
    if (!utils || generation != model.GetGeneration()) {
        if (utils) utils->Release();
        utils = model.CreateBoss(kUtilsBoss);
        generation = model.GetGeneration();
        if (utils) utils->AddRef();
    }
    return utils;
}
