// IMifVariableImporter: turns the variable formats and variables of a MIF file into text variables.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"

#include "base/TesselID.h"

class MifObject;

class IMifVariableImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFVARIABLEIMPORTER };

    virtual void SetRoot(MifObject* mifRoot) = 0;
    // The MIF file, for files it refers to.
    virtual void SetSourceFile(const IDFile& file) = 0;
    // The variable formats of the MIF file become text variables of the document, where a kind
    // of text variable matches the whole format.
    virtual void ImportVariableFormats() = 0;
    // Inserts the Variable statement `mifVariable` at the content importer's text index as
    // variable instances: the document's variable of its name, or one text variable per building
    // block of its format with the format's literals as text.
    virtual void ImportVariable(const MifObject* mifVariable) = 0;
    // Inserts the text of the Variable statement `mifVariable` at the content importer's text
    // index: its format's definition with every building block replaced by what it shows now.
    virtual void ConvertVariableToText(const MifObject* mifVariable) = 0;
};
