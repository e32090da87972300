// Registers the plug-in's implementations, classes, utilities and string tables with the host.
#pragma once

// Safe to call more than once.
void RegisterTesselPlugIn();
