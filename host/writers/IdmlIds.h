// IdmlIds: the Self ids of a package, and the names of its parts.
//
// Every element that others refer to has a Self unique in the package. Three kinds of ids:
//   - objects of the document model: "u" and their UID in lower-case hex ("u1a"), so the same
//     model gives the same ids on every run and a reader can trace an element back to its object;
//   - objects the package needs but the model does not hold (built-in swatches and styles, the
//     implied layer or section, the backing story): their kind, a slash and a fixed name
//     ("Color/Black", "ParagraphStyle/$ID/[No paragraph style]", "Layer/Default"), and the fonts
//     of a family ("Font/u1f/0");
//   - the document's swatches, styles and lists, which InDesign knows by name: their kind, a
//     slash and their name ("Color/Brand Blue", "ParagraphStyle/Body"), unique and stable as
//     IdmlCatalog makes them.
// The slash can never occur in a model id, so model ids never collide with the others. "$ID/"
// marks names that layout programs translate into the user's language.
// "n" is the reference to nothing.
#pragma once

#include <cstddef>
#include <string>

#include "UIDRef.h"

class IdmlIds {
public:
    // "u1a" for UID 0x1a.
    static std::string ForUID(UID uid);
    // The reference to nothing.
    static constexpr const char* kNone = "n";
    static constexpr const char* kDocument = "d";

    // Swatches every document has.
    static constexpr const char* kSwatchNone = "Swatch/None";
    static constexpr const char* kColorPaper = "Color/Paper";
    static constexpr const char* kColorBlack = "Color/Black";
    static constexpr const char* kColorRegistration = "Color/Registration";
    static constexpr const char* kStrokeSolid = "StrokeStyle/$ID/Solid";
    static constexpr const char* kStrokeThinThin = "StrokeStyle/$ID/ThinThin";

    // Root styles.
    static constexpr const char* kNoParagraphStyle = "ParagraphStyle/$ID/[No paragraph style]";
    static constexpr const char* kBasicParagraphStyle = "ParagraphStyle/$ID/NormalParagraphStyle";
    static constexpr const char* kNoCharacterStyle = "CharacterStyle/$ID/[No character style]";
    static constexpr const char* kNoObjectStyle = "ObjectStyle/$ID/[None]";
    static constexpr const char* kNormalGraphicsFrameStyle = "ObjectStyle/$ID/[Normal Graphics Frame]";
    static constexpr const char* kNormalTextFrameStyle = "ObjectStyle/$ID/[Normal Text Frame]";
    static constexpr const char* kNoTableStyle = "TableStyle/$ID/[No table style]";
    static constexpr const char* kBasicTableStyle = "TableStyle/$ID/[Basic Table]";
    static constexpr const char* kNoCellStyle = "CellStyle/$ID/[None]";

    // The list numbered paragraphs count in unless they name another.
    static constexpr const char* kDefaultNumberingList = "NumberingList/$ID/[Default]";

    // What the package adds when the model has none of its own.
    static constexpr const char* kDefaultLayer = "Layer/Default";
    static constexpr const char* kImpliedSection = "Section/Implied";
    static constexpr const char* kLanguage = "Language/$ID/English%3a USA";
    static constexpr const char* kRootXmlTag = "XMLTag/Root";
    static constexpr const char* kRootXmlElement = "XMLElement/Root";
    static constexpr const char* kBackingStory = "XmlStory/BackingStory";

    // "Font/u1f/2": the third font of font family 0x1f.
    static std::string Font(UID family, size_t index);

    // Part names: "Spreads/Spread_u1a.xml", "MasterSpreads/MasterSpread_u3.xml",
    // "Stories/Story_u2c.xml".
    static std::string SpreadPart(UID spread);
    static std::string MasterSpreadPart(UID master);
    static std::string StoryPart(UID story);
};
