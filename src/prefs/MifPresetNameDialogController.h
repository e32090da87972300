// MifPresetNameDialogController: the preset-name dialog ("New Preset", "Rename Preset"). Its data
// object's IMifPresetData holds the preset renamed (-1 for a new one); the name is checked against
// the presets of the preferences dialog that opened it.
#pragma once

#include "CDialogController.h"

class MifPresetNameDialogController : public CDialogController {
public:
    // The longest preset name taken: names show in drop-downs and menus.
    static constexpr int32 kMaxNameLength = 255;

    void InitializeDialogFields() override;
    WidgetID ValidateDialogFields() override;
};
