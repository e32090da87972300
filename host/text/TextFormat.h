// TextFormat: the formatting of a paragraph or a run of characters.
#pragma once

#include "AttributeBossList.h"
#include "UIDRef.h"

// A paragraph's or a run's formatting: its style (none: the root style) and its own overrides.
struct TextFormat {
    UID style = kInvalidUID;
    AttributeBossList overrides;
    friend bool operator==(const TextFormat& a, const TextFormat& b)
    {
        return a.style == b.style && a.overrides.GetAttributes() == b.overrides.GetAttributes();
    }
};
