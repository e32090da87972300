// The plug-in's string tables, one per locale.
#pragma once

#include <cstddef>

#include "StringTable.h"

extern const StringTableEntry kMifStrings_enUS[];
extern const size_t kMifStrings_enUSCount;
