// MifSetNextStyleCmd: gives one paragraph style its next style.
#pragma once

#include "DocCommand.h"

class MifSetNextStyleCmd : public DocCommand {
public:
    MifSetNextStyleCmd() { SetName("Set Next Style"); }
    UID uidData = kInvalidUID;  // the next style

protected:
    ErrorCode Do() override;
    void Undo() override;

private:
    UID mPrevious = kInvalidUID;
};
