// IImportProvider: a file format that the host's Open can read into a new document. Plug-ins
// register the classes that offer it (ObjectModel::RegisterService with kImportProviderService).
#pragma once

#include "IDFile.h"
#include "IPMStream.h"
#include "IPMUnknown.h"
#include "UIDRef.h"

constexpr PMIID IID_IIMPORTPROVIDER = 0x200;
constexpr PMIID kImportProviderService = 0x200;

// How much user interface an operation may show.
enum UIFlags : int32 { kSuppressUI = 0, kMinimalUI = 1, kFullUI = 2 };

// Answers of CanImportThisType and CanImportThisStream.
enum ImportAnswer : int32 { kCannotImport = 0, kMayImport = 1, kCanImport = 2 };

class IImportProvider : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IIMPORTPROVIDER };

    virtual int32 CountFormats() = 0;
    // The four-character file type of format i ('TEXT').
    virtual uint32 GetFormatType(int32 i) = 0;
    virtual PMString GetFormatName(int32 i) = 0;
    virtual PMString GetFormatExtension(int32 i) = 0;
    // Whether the format can be opened as a new document, placed, placed into a selection,
    // linked, and whether it has import options.
    virtual bool CanOpen() = 0;
    virtual bool CanPlace() = 0;
    virtual bool CanPlaceIntoSelection() = 0;
    virtual bool CanLink() = 0;
    virtual bool HasImportOptions() = 0;
    // Whether a file of `fileType` (0 when unknown) named `file` is one this provider reads.
    virtual int32 CanImportThisType(uint32 fileType, const IDFile& file) = 0;
    // Whether the content of `stream` is one this provider reads.
    virtual int32 CanImportThisStream(IPMStream* stream) = 0;
    // Reads `stream` (the content of `file`) into a new document, handed back in `document`.
    virtual ErrorCode ImportThis(IPMStream* stream, const IDFile& file, int32 uiFlags, UIDRef& document) = 0;
};
