// IPMPersist: the base of interfaces whose state is saved with the object that holds them (the
// session workspace saves its persistent interfaces in the user's settings, for instance).
#pragma once

#include "IPMStream.h"
#include "IPMUnknown.h"

class IPMPersist : public IPMUnknown {
public:
    // Reads the state from `stream` when it reads, writes it when it writes; `implementation` is
    // the implementation the object was made with. A reader that meets data it cannot use keeps
    // its defaults for it and sets the stream's state to kStreamStateFailure, so that the holder
    // knows the saved state was not read whole.
    virtual void ReadWrite(IPMStream* stream, ImplementationID implementation) = 0;

    // Call before every change of the persistent state: the holder saves dirty state.
    void PreDirty() { mDirty = true; }
    bool IsDirty() const { return mDirty; }
    // Called by the holder once the state has been read or saved.
    void ClearDirty() { mDirty = false; }

private:
    bool mDirty = false;
};
