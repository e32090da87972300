#include "IdmlFontsWriter.h"

#include "IdmlContext.h"

void IdmlFontsWriter::Write(IdmlContext& context)
{
    context.GetPackage().AddPart(IdmlSlot::kFonts, "Fonts", "Resources/Fonts.xml");
}
