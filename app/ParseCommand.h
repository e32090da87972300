// tessel parse: reads a MIF file and prints its statement tree and the parse errors.
#pragma once

#include <string>
#include <vector>

// Runs the command on its arguments (those after "parse"); returns the exit status.
int RunParseCommand(const std::vector<std::string>& args);
