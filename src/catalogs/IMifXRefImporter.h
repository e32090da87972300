// IMifXRefImporter: turns the cross-reference formats and cross-references of a MIF file into
// live cross-references of the companion cross-reference plug-in.
#pragma once

#include <optional>

#include "IDFile.h"
#include "IPMUnknown.h"
#include "PMString.h"

#include "base/TesselID.h"
#include "catalogs/MifXRefInstance.h"

class MifObject;

class IMifXRefImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFXREFIMPORTER };

    virtual void SetRoot(MifObject* mifRoot) = 0;
    // The cross-reference formats of the MIF file become the document's; a format of the same
    // name is replaced.
    virtual void ImportXRefFormats() = 0;
    // The live cross-reference of the XRef statement `mifXRef`; none (the warning given) when it
    // cannot be one, and the text FrameMaker wrote for it is wanted instead.
    virtual std::optional<MifXRefInstance> ImportXRef(const MifObject* mifXRef) = 0;
    // The text of the Marker statement `marker` when it is a cross-reference marker to insert as
    // a source marker; nullptr for other markers (and one without text, with a warning).
    virtual const PMString* ImportSourceMarker(const MifObject* marker) = 0;

    // The MIF file, for the files that cross-references point into.
    virtual void SetSourceFile(const IDFile& file) = 0;
    // `definition` (a MIF XRefDef) in the plug-in's format syntax.
    virtual PMString TranslateXRefDef(const PMString& definition) const = 0;
};
