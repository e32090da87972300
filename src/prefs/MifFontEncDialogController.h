// MifFontEncDialogController: the font-encoding entry dialog ("New Font Encoding", "Edit Font
// Encoding"). It edits the IMifEncData of its data object: a family in a combo box and one of the
// encodings the list offers in a drop-down.
#pragma once

#include "CDialogController.h"

class MifFontEncDialogController : public CDialogController {
public:
    void InitializeDialogFields() override;
    WidgetID ValidateDialogFields() override;
    void ApplyDialogFields() override;
};
