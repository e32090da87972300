#include "Phase2Conversion.h"

#include "CResponder.h"
#include "IConversionData.h"
#include "ISignalMgr.h"
#include "InterfacePtr.h"
#include "ObjectModel.h"

namespace {

constexpr ClassID kPhase2ConversionSignalMgrBoss = 0x110;
constexpr ImplementationID kPhase2SignalMgrImpl = 0x110;
constexpr ImplementationID kPhase2ConversionDataImpl = 0x111;

class Phase2SignalMgr : public ISignalMgr {
public:
    PMIID GetSignal() const override { return kPhase2ConversionSignal; }
};

class Phase2ConversionData : public IConversionData {
public:
    void SetDataBase(DataBase* db) { mDB = db; }
    DataBase* GetDataBase() const override { return mDB; }
    void ClassRemoved(ClassID classID) override { mClasses.push_back(classID); }
    void ImplementationRemoved(ImplementationID implementationID) override { mImplementations.push_back(implementationID); }
    const std::vector<ClassID>& GetRemovedClasses() const override { return mClasses; }
    const std::vector<ImplementationID>& GetRemovedImplementations() const override { return mImplementations; }

private:
    DataBase* mDB = nullptr;
    std::vector<ClassID> mClasses;
    std::vector<ImplementationID> mImplementations;
};

} // namespace

Phase2Conversion::Report Phase2Conversion::Run(DataBase& db)
{
    ObjectModel& model = ObjectModel::Get();
    std::vector<ClassID> responders = model.GetServiceProviders(kPhase2ConversionSignalResponderService);
    if (responders.empty()) return {};
    if (!model.HasInterface(kPhase2ConversionSignalMgrBoss, IID_ICONVERSIONDATA)) {
        model.RegisterImplementation(kPhase2SignalMgrImpl, [] { return new Phase2SignalMgr; });
        model.RegisterImplementation(kPhase2ConversionDataImpl, [] { return new Phase2ConversionData; });
        model.AddInterface(kPhase2ConversionSignalMgrBoss, IID_ISIGNALMGR, kPhase2SignalMgrImpl);
        model.AddInterface(kPhase2ConversionSignalMgrBoss, IID_ICONVERSIONDATA, kPhase2ConversionDataImpl);
    }
    InterfacePtr<ISignalMgr> signalMgr(CreateObject2<ISignalMgr>(kPhase2ConversionSignalMgrBoss));
    InterfacePtr<IConversionData> data(signalMgr.get(), IID_ICONVERSIONDATA);
    if (!signalMgr || !data) return {};
    static_cast<Phase2ConversionData*>(data.get())->SetDataBase(&db);
    for (ClassID cls : responders) {
        InterfacePtr<CResponder> responder(CreateObject2<CResponder>(cls));
        if (responder) responder->Respond(signalMgr.get());
    }
    return Report{data->GetRemovedClasses(), data->GetRemovedImplementations()};
}
