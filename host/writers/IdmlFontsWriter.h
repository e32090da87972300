// IdmlFontsWriter: Resources/Fonts.xml, the font families the document uses.
//
// Empty until the model records fonts in use; styles then name the families listed here.
#pragma once

class IdmlContext;

class IdmlFontsWriter {
public:
    static void Write(IdmlContext& context);
};
