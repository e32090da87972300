// IMifFileUtils: file names as MIF writes them, and as the import names its results.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"

#include "base/TesselID.h"

class IMifFileUtils : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFFILEUTILS };

    // The file that a MIF device-independent path names ("<c\>images<c\>harbour.eps"), relative
    // to the folder of `baseFile` unless the path starts with a volume ("<v\>...") or root
    // ("<r\>") marker. Markers: <c\>name a component, <u\> one folder up. The result is
    // absolute (a relative `baseFile` is taken from the current folder); it is made from the
    // names alone and may lie anywhere.
    virtual IDFile ResolveDIPath(const IDFile& baseFile, const PMString& diPath) const = 0;
    // The same for a path whose markers have lost their backslash ("<c>name", "<u>").
    virtual IDFile ResolveDecodedDIPath(const IDFile& baseFile, const PMString& diPath) const = 0;
    // `file` with the text after the last dot of its name replaced by `extension`, when there is
    // a dot with at most four characters after it; otherwise with "." and `extension` appended.
    virtual IDFile ReplaceExtension(const IDFile& file, const PMString& extension) const = 0;
};
