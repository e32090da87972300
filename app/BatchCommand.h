// tessel batch: converts every MIF file of folder trees, each in a worker process of its own
// (tessel convert), several at a time, and sums up what happened to each.
#pragma once

class AppCommandLine;

// Adds the command to the tessel command line. Its exit status is 0 when every file was
// converted, 1 when one was not, 2 on wrong usage.
void AddBatchCommand(AppCommandLine& commandLine);
