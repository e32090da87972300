// IdmlSpreadWriter: the document's spreads and master spreads, one part each, with their pages.
//
// Handles: pages (size, place in the spread, applied master, the number they show), the
// binding location of spreads, master spreads (prefix, base name, the master each is based on,
// written as the master applied to its pages). A spread or master without pages is left out:
// layout programs cannot hold one. Page items come with the model's page items.
//
// Coordinates: a spread's origin is at the spine, half way down its pages, y down; a page's own
// coordinates start at its top left corner. So a page's ItemTransform is the translation to the
// top left corner of its boundsInSpread, and its GeometricBounds are "0 0 height width".
#pragma once

class IdmlContext;

class IdmlSpreadWriter {
public:
    // MasterSpreads/MasterSpread_<Self>.xml for each master spread, in the document's order.
    // Call before WriteSpreads: pages refer to the masters written here.
    static void WriteMasterSpreads(IdmlContext& context);
    // Spreads/Spread_<Self>.xml for each spread, in page order.
    static void WriteSpreads(IdmlContext& context);
};
