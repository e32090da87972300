// IdmlFontsWriter: Resources/Fonts.xml, the font families the document uses.
//
// One <FontFamily> per family of the document, in its order (Self: the family's id, "u1f"),
// with one <Font> per style the text asks for (Self "Font/u1f/0", "Font/u1f/1", ... in that
// order): the styles the family records, then any other style a paragraph or character style
// sets on it, or "Regular" when there is none. The package comes from the document alone: a
// style is installed when the family's record of installed faces (made when the family was
// added or the fonts refreshed) has it; this machine's fonts are never asked. An installed font
// carries its real PostScript name (readers find the font file by it) and Status="Installed"; a
// style the system lacked is still listed under its own family and style, Status="NotAvailable",
// with the PostScript name such a font would most likely have ("Frutiger LT Std" "Bold" ->
// "FrutigerLTStd-Bold"), so that InDesign reports it as missing and the user can replace it.
#pragma once

#include <string>

class IdmlContext;
class PMString;

class IdmlFontsWriter {
public:
    static void Write(IdmlContext& context);
    // "FamilyName-Style": the printable ASCII of each name without blanks or the characters
    // PostScript reserves, at most 63 characters; "Font" when the family leaves nothing.
    static std::string GuessPostScriptName(const PMString& family, const PMString& style);
};
