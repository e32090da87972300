// MifPrefsDialogController: fills the preferences dialog from the working copy of its observer
// when it opens, and has the observer commit the copy when the dialog is confirmed.
#pragma once

#include "CDialogController.h"

class MifPrefsDialogController : public CDialogController {
public:
    void InitializeDialogFields() override;
    void ApplyDialogFields() override;
};
