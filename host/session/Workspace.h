// Workspace: saves the persistent interfaces of the session workspace as one file and reads
// them back.
//
// The file is an int32 magic 0x54537773, an int32 version 0x10000 and an int32 count of parts;
// each part is the interface identifier (int32), the byte count (int32) and the bytes its
// ReadWrite wrote. Each part is read from a stream of its own bytes, so a damaged part cannot
// take its neighbours down with it; parts that no loaded plug-in claims are kept and written
// back, so that nothing is lost when a plug-in is missing for a session.
#pragma once

#include <map>
#include <vector>

#include "IPMPersist.h"
#include "IWorkspace.h"

class Workspace : public IWorkspace {
public:
    static constexpr int32 kMagic = 0x54537773;
    static constexpr int32 kVersion = 0x10000;

    ErrorCode Read(IPMStream& stream, PMString& problem) override;
    ErrorCode Write(IPMStream& stream) override;
    bool IsDirty() const override;
    void ClearDirty() override;

private:
    struct PersistentPart {
        PMIID iid;
        ImplementationID implementation;
        IPMPersist* persist;  // a sibling: no reference is held
    };
    std::vector<PersistentPart> GetPersistentParts() const;

    std::map<PMIID, std::vector<uchar>> mUnclaimed;
};
