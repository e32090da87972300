// tessel parse: reads a MIF file and prints its statement tree and the parse errors.
#pragma once

class AppCommandLine;

// Adds the command to the tessel command line. It runs with the plug-ins loaded and the
// workspace open. Its exit status is 0 when a tree was built, 1 when the file cannot be read, 2
// on wrong usage.
void AddParseCommand(AppCommandLine& commandLine);
