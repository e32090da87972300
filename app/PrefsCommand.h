// tessel prefs: shows the conversion preferences: the presets, and one preset's modes and tables.
#pragma once

#include <string>
#include <vector>

// Runs the command on its arguments (those after "prefs"); returns the exit status.
int RunPrefsCommand(const std::vector<std::string>& args);
