// IWorkspace: the session's workspace, the object that holds the session-wide data of the host
// and its plug-ins. Plug-ins add their interfaces to kSessionWorkspaceBoss when they register;
// those derived from IPMPersist are saved in the user's settings and read back when the next
// session starts (Session.h).
#pragma once

#include "IPMStream.h"
#include "IPMUnknown.h"
#include "ObjectModel.h"
#include "PMString.h"

constexpr PMIID IID_IWORKSPACE = 0x202;
constexpr ImplementationID kWorkspaceImpl = 0x202;

class IWorkspace : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IWORKSPACE };

    // Reads the persistent interfaces of the workspace from `stream`, a whole workspace file.
    // kSuccess when every part was read whole. Otherwise what was read stays, the rest keeps its
    // defaults, and `problem` says in a few words what was wrong ("it ends early").
    virtual ErrorCode Read(IPMStream& stream, PMString& problem) = 0;
    // Writes every persistent interface, and the parts of the file read last that no loaded
    // plug-in claimed, as a workspace file; kFailure when a part could not be written.
    virtual ErrorCode Write(IPMStream& stream) = 0;
    // Whether a persistent interface changed since the workspace was read or saved.
    virtual bool IsDirty() const = 0;
    // Marks every persistent interface as saved.
    virtual void ClearDirty() = 0;
};
