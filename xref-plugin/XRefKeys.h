// XRefKeys: how a cross-reference's key names a marker.
#pragma once

#include "PMString.h"

namespace XRefKeys {
// The key a marker's text is found by: the 4 to 7 digits before a ":" that FrameMaker puts at
// its start ("31415: Heading: Introduction" → "31415"); otherwise the whole text.
PMString KeyOf(const PMString& markerText);
}
