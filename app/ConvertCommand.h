// tessel convert: opens a MIF file through the host's Open and saves the document as IDML.
#pragma once

class AppCommandLine;

// Adds the command to the tessel command line. Its exit status is 0 when a document was made and
// saved, 1 when the file was refused, could not be read or the result could not be written, 2
// on wrong usage.
void AddConvertCommand(AppCommandLine& commandLine);
