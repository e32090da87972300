// MifXRefInstance: a live cross-reference for the text, as the cross-reference importer reads it
// from an XRef: its format's name and definition in the plug-in's syntax, and the key of the
// marker it points at. The content importer inserts it at its text index.
#pragma once

#include "PMString.h"

struct MifXRefInstance {
    PMString formatName;
    PMString definition;
    PMString key;
};
