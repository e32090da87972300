// The public interfaces of the maker's companion cross-reference plug-in, as it publishes them
// for other plug-ins: its identifiers, the formats list of a document, the data of a format, the
// text length of a cross-reference, and its commands with their data.
//
// Nothing here is implemented by the host: a plug-in that is installed adds the interfaces to the
// document's object (kDocBoss) and the command classes to the factory. Callers reach them by
// identifier and test each answer, as the plug-in may be missing.
//
//   InterfacePtr<IXRefFormatsList> formats(static_cast<IXRefFormatsList*>(db->QueryDocInterface(IID_IXREFFORMATSLIST)));
//   auto addFormatCmd = XRefCommandFactory::Create(kXRefAddFormatCmdBoss);   // null when absent
//   addFormatCmd->SetItemList(UIDList(document->GetRef()));
//   addFormatCmd->formatData = {name, definition};
//   CmdUtils::ProcessCommand(addFormatCmd);
#pragma once

#include <memory>

#include "DocCommand.h"
#include "IDFile.h"
#include "IPMUnknown.h"
#include "ObjectModel.h"
#include "PMString.h"
#include "TextModel.h"

// Interfaces.
constexpr PMIID IID_IXREFFORMATDATA = 0xF2C07;      // one format: name, definition
constexpr PMIID IID_IXREFFORMATSLIST = 0xF2C08;     // the formats list of a document
constexpr PMIID IID_IXREFCROSSREFERENCE = 0xF2C05;  // a cross-reference's text length
constexpr PMIID IID_IXREFCOMMANDFACTORY = 0xF2C40;  // makes the command of a command class
// Command classes.
constexpr ClassID kXRefInsertCrossRefCmdBoss = 0xF2C1F;
constexpr ClassID kXRefInsertSourceMarkerCmdBoss = 0xF2C20;
constexpr ClassID kXRefAddFormatCmdBoss = 0xF2C32;
constexpr ClassID kXRefDeleteFormatCmdBoss = 0xF2C34;

// The data of one format: its name and its definition in the plug-in's syntax.
struct XRefFormatData {
    PMString name;
    PMString definition;
};

class IXRefFormatsList : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IXREFFORMATSLIST };
    // The index of the format named `name`; a negative number when there is none.
    virtual int32 FindFormat(const PMString& name) const = 0;
    virtual int32 GetFormatCount() const = 0;
    // The format at `index`; empty data for an index out of range.
    virtual XRefFormatData GetFormat(int32 index) const = 0;
};

class IXRefCrossReference : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IXREFCROSSREFERENCE };
    // How many characters the text of the cross-reference `crossRef` takes between its two
    // anchors; -1 when `crossRef` is none.
    virtual int32 GetTextLength(UID crossRef) const = 0;
};

// The command of every class above, with the data interfaces the plug-in reads. Which fields a
// command reads is said by the plug-in for each class; the others are left alone.
class XRefCommand : public DocCommand {
public:
    TextRange rangeData;                 // the insertion point (start, length 0)
    XRefFormatData formatData;           // add format, insert cross-reference
    PMString stringData;                 // the key of a cross-reference or of a marker
    bool createHyperlinkData = false;    // insert cross-reference: make a hyperlink as well
    bool hasSysFileData = false;         // insert cross-reference: the destination is in sysFileData
    IDFile sysFileData;
    int32 intData = -1;                  // delete format: its index
};

class IXRefCommandFactory : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IXREFCOMMANDFACTORY };
    virtual std::shared_ptr<XRefCommand> CreateCommand() = 0;
};

namespace XRefCommandFactory {
// A new command of the class `cmdClass`; null when no plug-in offers it.
inline std::shared_ptr<XRefCommand> Create(ClassID cmdClass)
{
    InterfacePtr<IXRefCommandFactory> factory(CreateObject2<IXRefCommandFactory>(cmdClass));
    return factory ? factory->CreateCommand() : nullptr;
}
}
