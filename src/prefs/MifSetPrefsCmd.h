// MifSetPrefsCmd: sets the session's conversion preferences (presets and current preset) to the
// command's data, undoably. Doing it copies the data into the session workspace's IMifPrefs;
// undoing it puts back what was there. Its name in the Undo menu is "Tessel Preferences".
//
//     auto setPrefsCmd = std::make_shared<MifSetPrefsCmd>();
//     setPrefsCmd->GetData().SetPresets(presets);
//     setPrefsCmd->GetData().SetCurrentPreset(current);
//     CmdUtils::ProcessCommand(setPrefsCmd);
#pragma once

#include "Command.h"

#include "prefs/MifPrefs.h"

class MifSetPrefsCmd : public Command {
public:
    MifSetPrefsCmd();

    // The preferences the command sets; fill them before processing the command.
    IMifPrefs& GetData() { return mData; }

protected:
    ErrorCode Do() override;
    void Undo() override;

private:
    MifPrefs mData;
    MifPrefs mPrevious;  // what the session held before Do
};
