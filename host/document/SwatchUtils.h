// SwatchUtils: the swatch list of a document.
#pragma once

#include "DataBase.h"
#include "PMString.h"
#include "Swatch.h"

namespace SwatchUtils {
// The name a CMYK color without one gets: "C=0 M=0 Y=0 K=100" (components 0..1, shown as whole
// percentages).
PMString MakeCMYKName(double c, double m, double y, double k);
// The fixed swatches.
UID GetNoneSwatch(const DataBase& db);
UID GetPaperSwatch(const DataBase& db);
UID GetBlackSwatch(const DataBase& db);
UID GetRegistrationSwatch(const DataBase& db);
// The swatch that stands in when a color is unknown (Black).
UID GetDefaultSwatch(const DataBase& db);
// The swatch named `name`; kInvalidUID when none.
UID FindSwatch(const DataBase& db, const PMString& name);
// An existing tint of `base` at `percent` (within 1e-8); kInvalidUID when none.
UID FindTint(const DataBase& db, UID base, double percent);
// Appends a CMYK (or fixed) swatch to the document's list as it is given; callers check names.
Swatch* AddSwatch(DataBase& db, const PMString& name, SwatchKind kind, double c, double m, double y, double k,
                  bool reserved = false);
// Adds the fixed swatches and the three process primaries of a new document.
void AddDefaultSwatches(DataBase& db);
}
