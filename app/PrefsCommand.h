// tessel prefs: shows and changes the conversion preferences: the presets with their modes and
// tables, the preset and CSV files, and the menu entries of the plug-ins.
#pragma once

#include <string>
#include <vector>

// Runs the command on its arguments (those after "prefs"); returns the exit status.
int RunPrefsCommand(const std::vector<std::string>& args);
