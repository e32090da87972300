// MifFontSubstDialogController: the font-substitution entry dialog ("New Font Substitution",
// "Edit Font Substitution"). It edits the IMifSubstData of its data object: the FrameMaker
// family, angle, weight and variation in combo boxes, the InDesign family (the families the font
// manager knows) and style (that family's faces after "Don't change font style") in drop-downs.
#pragma once

#include "CDialogController.h"

class MifFontSubstDialogController : public CDialogController {
public:
    void InitializeDialogFields() override;
    WidgetID ValidateDialogFields() override;
    void ApplyDialogFields() override;

    // Fills the style drop-down with the faces of the family chosen, and chooses `style` (the
    // first entry, "Don't change font style", when empty or not a face of the family).
    static void FillStyles(Dialog& dialog, const PMString& style);
};
