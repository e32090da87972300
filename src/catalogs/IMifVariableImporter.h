// IMifVariableImporter: turns the variable formats and variables of a MIF file into text variables.
#pragma once

#include <vector>

#include "IDFile.h"
#include "IPMUnknown.h"

#include "base/TesselID.h"
#include "catalogs/MifVariablePiece.h"

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
    // The Variable statement `mifVariable` as variable instances: the document's variable of its
    // name, or one text variable per building block of its format (made here when the document
    // lacks it) with the format's literals as text.
    virtual std::vector<MifVariablePiece> ImportVariable(const MifObject* mifVariable) = 0;
    // The text of the Variable statement `mifVariable`: its format's definition with every
    // building block replaced by what it shows now. `temporaryPages`: the document's pages that
    // are no pages of the file (the layout's scratch pages), which <$lastpagenum> does not count.
    virtual std::vector<MifVariablePiece> ConvertVariableToText(const MifObject* mifVariable, int32 temporaryPages) = 0;
};
