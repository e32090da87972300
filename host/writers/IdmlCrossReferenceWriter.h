// IdmlCrossReferenceWriter: the document's text variables, cross-reference formats and the
// hyperlinks of its cross-references, as designmap.xml elements; and the elements a story holds
// for them (TextVariableInstance, CrossReferenceSource, HyperlinkTextDestination).
//
// A cross-reference's hyperlink is written only when both its source and its destination are in
// stories of the package, so that no hyperlink points nowhere; a source without one stays a
// cross-reference with its text.
#pragma once

#include <pugixml.hpp>
#include <string>

#include "UIDRef.h"

class IdmlContext;
class CrossReferenceSource;

class IdmlCrossReferenceWriter {
public:
    // <TextVariable>, <CrossReferenceFormat> and <Hyperlink> elements of designmap.
    static void Write(IdmlContext& context);
    // The story elements, added to `characters` (a CharacterStyleRange).
    static void WriteVariableInstance(IdmlContext& context, UID instance, pugi::xml_node characters);
    static void WriteDestination(IdmlContext& context, UID destination, pugi::xml_node characters);
    // Opens the <CrossReferenceSource> of `source` in `characters`; returns the
    // CharacterStyleRange inside it that holds its text.
    static pugi::xml_node OpenSource(IdmlContext& context, UID source, pugi::xml_node characters);
    // Whether `source` gets a hyperlink: it and its destination are anchored in stories of the
    // document.
    static bool IsLinked(const IdmlContext& context, const CrossReferenceSource& source);
};
