// SessionPaths: the per-user folders of the host and its plug-ins.
#pragma once

#include "IDFile.h"

namespace SessionPaths {
// The folder for a plug-in's log files, created when needed: $TESSEL_LOG_DIR when set, else
// $XDG_STATE_HOME/tessel/log, else ~/.local/state/tessel/log. Empty when none can be created.
IDFile GetLogFolder();
// The folder for the session's settings, created when needed: $TESSEL_CONFIG_DIR when set, else
// $XDG_CONFIG_HOME/tessel, else ~/.config/tessel. Empty when none can be created.
IDFile GetConfigFolder();
}
