#include "IdmlIds.h"

#include <cstdio>

std::string IdmlIds::ForUID(UID uid)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "u%x", static_cast<unsigned>(uid));
    return buffer;
}

std::string IdmlIds::Font(UID family, size_t index) { return "Font/" + ForUID(family) + "/" + std::to_string(index); }

std::string IdmlIds::SpreadPart(UID spread) { return "Spreads/Spread_" + ForUID(spread) + ".xml"; }
std::string IdmlIds::MasterSpreadPart(UID master) { return "MasterSpreads/MasterSpread_" + ForUID(master) + ".xml"; }
std::string IdmlIds::StoryPart(UID story) { return "Stories/Story_" + ForUID(story) + ".xml"; }
