// AppSession: starting the host for the tessel command: the progress renderer, the user
// presenter, the plug-ins loaded from the plug-ins folder, and the session workspace with the
// preferences saved by the last run.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "IDFile.h"

namespace AppSession {
// The folder the plug-ins are loaded from: $TESSEL_PLUGIN_DIR, else "plugins" beside the program.
IDFile GetPlugInFolder();
// Loads the plug-ins; false (after printing why on standard error) when none could be loaded.
bool LoadPlugIns();
// Opens the session workspace from the user's settings, once the plug-ins are loaded (their
// persistent interfaces are part of it). A file that cannot be read whole is reported in one line
// on standard error; the defaults stand in for what could not be read.
void OpenWorkspace();
// Saves the workspace when something changed, then drops it; false (after printing why on
// standard error) when it could not be saved.
bool CloseWorkspace();
// Drops the workspace without saving it, for commands that only read the settings: a change
// they make for their own run (convert --preset) never reaches the file, and a damaged file
// stays as it is.
void DropWorkspace();
// Runs `command` with the plug-ins loaded and the workspace open, then saves the workspace when
// something changed and closes it: for commands that read or change the settings. Returns the
// command's exit status, or 1 when the plug-ins cannot be loaded (the command does not run) or
// the settings cannot be saved (after saying why).
int RunInWorkspace(const std::function<int()>& command);
// The file the running program was started from, for starting workers (tessel convert).
std::string GetProgram();
// Saves the workspace now when something changed, keeping it open; false (after printing why on
// standard error) when it could not be saved.
bool SaveWorkspace();
// The sample MIF file that ships with Tessel.
IDFile GetSampleFile();
}
