// IdmlPackageBuilder: the XML parts of an IDML package as they are written, and the ZIP package
// they become.
//
// designmap.xml lists its children in an order readers depend on. Writers name the slot an
// element belongs to (IdmlSlot), in any order they like; the builder keeps designmap's children,
// and the ZIP entries after it, in slot order, and in the order written within a slot.
// The package holds, in this order: mimetype (stored, first, so that the file announces its
// type at a fixed offset), designmap.xml, META-INF/container.xml, then every part in designmap
// order. Every part's root carries the same DOMVersion.
#pragma once

#include <array>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "PMTypes.h"

// designmap.xml's children, in the order they must appear.
enum class IdmlSlot {
    kLanguage,              // <Language>
    kGraphic,               // idPkg:Graphic  Resources/Graphic.xml: colours, inks, swatches
    kFonts,                 // idPkg:Fonts    Resources/Fonts.xml
    kStyles,                // idPkg:Styles   Resources/Styles.xml
    kNumberingList,         // <NumberingList>
    kPreferences,           // idPkg:Preferences  Resources/Preferences.xml
    kTextVariable,          // <TextVariable>
    kTags,                  // idPkg:Tags     XML/Tags.xml
    kLayer,                 // <Layer>, back to front
    kMasterSpread,          // idPkg:MasterSpread  MasterSpreads/*.xml
    kSpread,                // idPkg:Spread   Spreads/*.xml
    kSection,               // <Section>
    kCrossReferenceFormat,  // <CrossReferenceFormat>
    kBackingStory,          // idPkg:BackingStory  XML/BackingStory.xml
    kStory,                 // idPkg:Story    Stories/*.xml
    kHyperlinkDestination,  // <HyperlinkTextDestination>, <HyperlinkPageDestination>
    kHyperlink,             // <Hyperlink>, <CrossReferenceSource> ...
    kCount
};

class IdmlPackageBuilder {
public:
    static constexpr const char* kDOMVersion = "8.0";
    static constexpr const char* kProduct = "8.0(370)";
    static constexpr const char* kMimeType = "application/vnd.adobe.indesign-idml-package";
    static constexpr const char* kPackageNamespace = "http://ns.adobe.com/AdobeInDesign/idml/1.0/packaging";

    IdmlPackageBuilder();
    ~IdmlPackageBuilder();
    IdmlPackageBuilder(const IdmlPackageBuilder&) = delete;
    IdmlPackageBuilder& operator=(const IdmlPackageBuilder&) = delete;

    // designmap's root <Document>, for its attributes.
    pugi::xml_node GetDesignMap() { return mDesignMap.document_element(); }
    // Adds the part `path` ("Spreads/Spread_u5.xml"), named in designmap by
    // <idPkg:`kind` src="path"/> at `slot`, and returns the part's root element <idPkg:`kind`>.
    pugi::xml_node AddPart(IdmlSlot slot, const char* kind, const std::string& path);
    // Adds an element <`name`> to designmap itself, at `slot`, and returns it.
    pugi::xml_node AddDesignMapElement(IdmlSlot slot, const char* name);

    // Serializes the parts added so far and lets their XML trees go. A writer calls it once its
    // part is whole (a spread, a story), so that a package of many parts holds one tree at a
    // time and the text of the others, a fraction of the tree's size. A sealed part's root must
    // not be written to again.
    void SealParts();
    // Serializes the children `element` of an unsealed part has so far and lets them go, so that
    // a long story never stands as one tree. From then on only children may be added to
    // `element`, and nothing to the part outside it; the part's text is what it would have been.
    void WriteOut(pugi::xml_node element);

    // The package as ZIP bytes; kSuccess, or the ZIP writer's error (then `*package` is empty).
    // The parts' texts go into the package: the builder is spent.
    ErrorCode Pack(std::string* package);

private:
    // A part's XML text in pieces of at most about a megabyte: a long part is never copied
    // into a larger buffer as it grows.
    class PartText : public pugi::xml_writer {
    public:
        void write(const void* data, size_t size) override;
        // Gives the last piece back what it holds in reserve.
        void Trim();
        std::vector<std::string> pieces;
    };
    struct Part {
        IdmlSlot slot;
        std::string path;
        std::unique_ptr<pugi::xml_document> xml;  // null once sealed
        PartText text;                            // the XML written so far
        pugi::xml_node streamed;                  // the element WriteOut writes the children of
        unsigned depth = 0;                       // its children's depth in the part
        std::string tail;                         // the tags that close the part after them
    };
    static void Serialize(const pugi::xml_document& xml, pugi::xml_writer& text);
    static void Serialize(pugi::xml_node node, pugi::xml_writer& text, unsigned depth);
    // Writes the children of the part's streamed element and lets them go.
    static void WriteChildren(Part& part);

    pugi::xml_document mDesignMap;
    std::array<pugi::xml_node, static_cast<size_t>(IdmlSlot::kCount)> mLastInSlot;
    std::vector<Part> mParts;
    size_t mSealed = 0;  // the parts before this one are sealed
};
