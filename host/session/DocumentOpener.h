// DocumentOpener: the host's Open. Finds an import provider that reads the file and has it make
// a new document.
#pragma once

#include "IDFile.h"
#include "PMString.h"
#include "UIDRef.h"

class DocumentOpener {
public:
    // Opens `file` into a new document (`document`). On failure `message` says why in one line:
    // the file cannot be read, no provider reads it, or the import failed. kSuccess or the error.
    static ErrorCode OpenFile(const IDFile& file, int32 uiFlags, UIDRef& document, PMString& message);
};
