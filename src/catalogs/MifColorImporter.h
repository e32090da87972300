// MifColorImporter: the color catalog becomes swatches, and every MIF color name maps to the
// swatch that stands for it.
//
// Handles: Color (ColorTag, ColorCyan/Magenta/Yellow/Black, ColorTintPercentage,
// ColorTintBaseColor), Document's DPrintProcessColor (process versus spot), DCurrentView with the
// ViewInvisible colors of that View. FrameMaker's standard colors (Black, White, Red, ...) that
// the catalog does not list are made with FrameMaker's values when first asked for. Passes over: ColorOverprint, ColorAttribute, color-library
// names.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "catalogs/IMifColorImporter.h"

class IMifErrorLog;

class MifColorImporter : public IMifColorImporter {
public:
    void SetRoot(MifObject* mifRoot) override { mMifRoot = mifRoot; }
    void Import() override;
    UID GetColorUID(const PMString& name) override;
    UID GetTintUID(const UIDRef& baseSwatch, double percent) override;

private:
    void FindCurrentView();
    void CreateColor(const MifObject& color);
    // Makes the swatch of color `tag` of these components (fractions) and maps the name to it.
    UID CreateColor(const PMString& tag, double c, double m, double y, double k);
    void CreateTint(const MifObject& color);
    // Runs a swatch command on the document and answers the swatch it made; kInvalidUID on failure.
    template <class Cmd>
    UID ProcessSwatchCommand(const std::shared_ptr<Cmd>& cmd);

    MifObject* mMifRoot = nullptr;
    IMifErrorLog* mImportErrors = nullptr;   // the document's log of problems in the MIF
    std::map<PMString, UID> mColorMap;
    std::set<PMString> mTriedStandard;   // standard colors made (or tried) on demand
    std::vector<PMString> mProcessColors;
    const MifObject* mCurrentView = nullptr;
};
