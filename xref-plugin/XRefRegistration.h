// XRefRegistration: installs the cross-reference plug-in's interfaces and command classes in the
// factory, and takes them out again.
#pragma once

// Adds the formats list and the cross-reference interface to every document's object, and the
// four command classes.
void RegisterXRefPlugIn();
// Takes them back (the plug-in is removed); documents made before keep what they had.
void UnregisterXRefPlugIn();
