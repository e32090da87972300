// tessel convert: opens a MIF file through the host's Open and saves the document as IDML.
#pragma once

#include <string>
#include <vector>

// Runs the command on its arguments (those after "convert"); returns the exit status: 0 when a
// document was made and saved, 1 when the file was refused, could not be read or the result
// could not be written, 2 on wrong usage.
int RunConvertCommand(const std::vector<std::string>& args);
