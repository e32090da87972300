#include "XRefRegistration.h"

#include "IXRefPlugIn.h"
#include "ObjectModel.h"
#include "XRefCommands.h"
#include "XRefFormatsList.h"

namespace {

// The plug-in's implementations, numbered after its interface identifiers.
constexpr ImplementationID kXRefFormatsListImpl = 0xF2C88;
constexpr ImplementationID kXRefCrossReferenceImpl = 0xF2C85;
constexpr ImplementationID kXRefInsertCrossRefCmdImpl = 0xF2C9F;
constexpr ImplementationID kXRefInsertSourceMarkerCmdImpl = 0xF2CA0;
constexpr ImplementationID kXRefAddFormatCmdImpl = 0xF2CB2;
constexpr ImplementationID kXRefDeleteFormatCmdImpl = 0xF2CB4;

template <class Cmd>
class XRefCommandFactoryImpl : public IXRefCommandFactory {
public:
    std::shared_ptr<XRefCommand> CreateCommand() override { return std::make_shared<Cmd>(); }
};

template <class Cmd>
void RegisterCommand(ObjectModel& model, ClassID cmdClass, ImplementationID impl)
{
    model.RegisterImplementation(impl, [] { return new XRefCommandFactoryImpl<Cmd>; });
    model.AddInterface(cmdClass, IID_IXREFCOMMANDFACTORY, impl);
}

} // namespace

void RegisterXRefPlugIn()
{
    ObjectModel& model = ObjectModel::Get();
    model.RegisterImplementation(kXRefFormatsListImpl, [] { return new XRefFormatsList; });
    model.RegisterImplementation(kXRefCrossReferenceImpl, [] { return new XRefCrossReference; });
    model.AddInterface(kDocBoss, IID_IXREFFORMATSLIST, kXRefFormatsListImpl);
    model.AddInterface(kDocBoss, IID_IXREFCROSSREFERENCE, kXRefCrossReferenceImpl);
    RegisterCommand<XRefInsertCrossRefCmd>(model, kXRefInsertCrossRefCmdBoss, kXRefInsertCrossRefCmdImpl);
    RegisterCommand<XRefInsertSourceMarkerCmd>(model, kXRefInsertSourceMarkerCmdBoss, kXRefInsertSourceMarkerCmdImpl);
    RegisterCommand<XRefAddFormatCmd>(model, kXRefAddFormatCmdBoss, kXRefAddFormatCmdImpl);
    RegisterCommand<XRefDeleteFormatCmd>(model, kXRefDeleteFormatCmdBoss, kXRefDeleteFormatCmdImpl);
}

void UnregisterXRefPlugIn()
{
    ObjectModel& model = ObjectModel::Get();
    model.RemoveInterface(kDocBoss, IID_IXREFFORMATSLIST);
    model.RemoveInterface(kDocBoss, IID_IXREFCROSSREFERENCE);
    for (ClassID cmdClass : {kXRefInsertCrossRefCmdBoss, kXRefInsertSourceMarkerCmdBoss, kXRefAddFormatCmdBoss, kXRefDeleteFormatCmdBoss})
        model.RemoveInterface(cmdClass, IID_IXREFCOMMANDFACTORY);
}
