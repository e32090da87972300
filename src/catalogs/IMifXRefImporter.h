// IMifXRefImporter: turns the cross-reference formats and cross-references of a MIF file into
// live cross-references of the companion cross-reference plug-in.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "PMString.h"

#include "base/TesselID.h"

class MifObject;

class IMifXRefImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFXREFIMPORTER };

    virtual void SetRoot(MifObject* mifRoot) = 0;
    // The cross-reference formats of the MIF file become the document's; a format of the same
    // name is replaced.
    virtual void ImportXRefFormats() = 0;
    // Inserts the XRef statement `mifXRef` at the content importer's text index as a live
    // cross-reference, the index moving past it; false when none was inserted (the text
    // FrameMaker wrote for it is then wanted instead).
    virtual bool ImportXRef(const MifObject* mifXRef) = 0;
    // Inserts the Marker statement `marker`, when it is a cross-reference marker, at the content
    // importer's text index, the index moving past it; 1 when done.
    virtual int32 ImportSourceMarker(const MifObject* marker) = 0;

    // The MIF file, for the files that cross-references point into.
    virtual void SetSourceFile(const IDFile& file) = 0;
    // `definition` (a MIF XRefDef) in the plug-in's format syntax.
    virtual PMString TranslateXRefDef(const PMString& definition) const = 0;
};
