// Session: the session workspace and its file.
//
// The workspace is created on first use, once the plug-ins have registered (interfaces added to
// kSessionWorkspaceBoss later are not on it). The application opens it from the user's settings
// when it starts and saves it when it ends; a file that cannot be read whole is never written
// over until the user changes something, and then a copy of it is kept beside the new one.
#pragma once

#include "IDFile.h"
#include "IWorkspace.h"

// The session workspace, created when needed; no reference is added (it lives until
// Session::CloseWorkspace). Null only when the object model cannot make it.
IWorkspace* GetSessionWorkspace();

namespace Session {
// "workspace.dat" in SessionPaths::GetConfigFolder(); empty when there is no such folder.
IDFile GetWorkspaceFile();
// Starts a fresh workspace and reads `file` into it. A missing file is a fresh installation:
// kSuccess with the defaults. Otherwise a failure leaves what was read, the defaults for the
// rest, and one line in `problem` that names the file and says what was wrong.
ErrorCode OpenWorkspace(const IDFile& file, PMString& problem);
// Writes the workspace to the file it was opened from when something changed since it was read
// or saved, replacing the file in one step; kSuccess when nothing needed writing. When the file
// read last was damaged, a copy of it is kept first as "<name>.damaged". A failure leaves the
// file as it was and says why in `problem`.
ErrorCode SaveWorkspace(PMString& problem);
// Drops the workspace; unsaved changes are lost. The next GetSessionWorkspace makes a fresh one.
void CloseWorkspace();
// Whether the session can supply the interface `iid`: whether a loaded plug-in offers it on any
// of its classes (this is how a plug-in learns that a companion plug-in is there).
bool CanSupply(PMIID iid);
}
