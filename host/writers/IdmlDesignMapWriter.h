// IdmlDesignMapWriter: designmap.xml's own content: the document's attributes, its language,
// numbering lists, layers and sections. (The part references in it come from the part writers.)
//
// Numbering lists: the default list "NumberingList/$ID/[Default]", which every document has,
// then the document's other lists in its order (ids: IdmlCatalog), each saying whether its
// numbers continue across stories and from the previous document of a book.
//
// Layers: the model lists them front to back; designmap lists them back to front, the order in
// which readers stack them. A document without layers gets one, "Layer 1".
// Sections: one per run of PageNumbering, each with its length, start page and numbering;
// a section that does not continue the numbering gives its start number.
// Run it after the story writer: the document's StoryList names every story written.
#pragma once

class IdmlContext;

class IdmlDesignMapWriter {
public:
    static void Write(IdmlContext& context);
};
