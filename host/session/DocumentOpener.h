// DocumentOpener: the host's Open. Finds an import provider that reads the file and has it make
// a new document.
#pragma once

#include "IDFile.h"
#include "PMString.h"
#include "UIDRef.h"

// What the user asked of one Open beside the file: how an import may lay out text that does
// not fit the frames the file gives it. Import providers read them while they import.
struct OpenOptions {
    static constexpr int32 kDefaultMaxAddedPages = 10000;
    // Whether pages may be added for text that overflows a flow that asks for them.
    bool addPages = true;
    // The most pages an import adds to one document, and the most a file may ask for: an import
    // refuses a file with more.
    int32 maxAddedPages = kDefaultMaxAddedPages;
    // Whether the files a document links (images) may be read wherever they are, not only
    // beside the file and in the image folders the user named.
    bool allowOutsideImages = false;
};

class DocumentOpener {
public:
    // As OpenFile below, with `options` in force for the length of the call.
    static ErrorCode OpenFile(const IDFile& file, int32 uiFlags, UIDRef& document, PMString& message, const OpenOptions& options);
    // The options of the Open in progress; the defaults when none is.
    static const OpenOptions& GetOpenOptions();
    // Opens `file` into a new document (`document`). On failure `message` says why in one line:
    // the file cannot be read, no provider reads it, or the import failed. kSuccess or the error.
    static ErrorCode OpenFile(const IDFile& file, int32 uiFlags, UIDRef& document, PMString& message);
};
