// tessel ui: Tessel in a web browser. Serves a page on the loopback address that shows the
// host's menus and dialogs (the preferences among them) and converts MIF files and folders
// below a folder, with the progress, warnings, page previews and packages of each conversion.
#pragma once

class AppCommandLine;

// Adds the command to the tessel command line. It serves until Ctrl-C; its exit status is 0 then,
// 1 when it cannot start (the port is taken, the plug-ins cannot be loaded), 2 on wrong usage.
void AddUiCommand(AppCommandLine& commandLine);
