// MifFileStatusAlert: the text of the alert that reports a MifFileStatus for a file.
#pragma once

#include "IDFile.h"
#include "PMString.h"

#include "prefs/MifFileStatus.h"

class MifFileStatusAlert {
public:
    // The translated alert text for `status`, with ^1 replaced by the path of `file`: "Can't open
    // file '^1'.", "Can't save file '^1'.", "This file is not Tessel preset file.", "File '^1' is
    // not a MIF file.". Empty for kDone and kUnknownVersion, which show no alert.
    static PMString GetMessage(MifFileStatus status, const IDFile& file);
};
