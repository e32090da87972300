// MifBatchConvertCmd: converts every MIF file of the folder trees the user chooses into a
// document package beside it. Each file is opened through the host's Open (which runs the MIF
// import), saved and closed; a file that fails is passed over and the batch goes on.
#pragma once

#include "Command.h"

class IDFile;
class TaskProgressBar;

class MifBatchConvertCmd : public Command {
public:
    MifBatchConvertCmd() { SetName("OV#0xB40#kMifBatchConvertMenuItemKey"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }

private:
    // Converts the MIF files of `folder` and of its folders, depth first.
    void WalkFolder(const IDFile& folder, TaskProgressBar* progressBar);
    void ConvertFile(const IDFile& file);
};
