// MifLineItems: the content importer's part for the items of a ParaLine: strings, special
// characters (Char), font changes, footnotes (FNote, with their bodies from Notes), anchored
// frames (AFrame), table anchors (ATbl), variables, cross-references (XRef/XRefEnd) and their
// markers, each at the text index.
#pragma once

#include <vector>

#include "UIDRef.h"

#include "content/MifFrameAnchoring.h"

class MifContentImporter;
class MifObject;
class MifProp;

class MifLineItems {
public:
    explicit MifLineItems(MifContentImporter& importer) : mImporter(importer) {}

    // Forgets the frames of the file before.
    void Reset();
    void ImportParaLine(const MifObject& mifParaLine);
    // Anchors the Below frames met so far. `underTheirLines`: each under the composed line that
    // holds its anchor, in its own paragraph (at the paragraph's end); otherwise, frames left over
    // from a head or a story the text has left, all at the current text index.
    void AnchorPendingBelowFrames(bool underTheirLines);
    // A cross-reference's text ends with its paragraph.
    void EndCrossReferenceText(const MifObject& mifPara);
    // The anchors of Below frames recorded in the paragraph move with deleted text.
    void TextDeleted(int32 index, int32 length);

private:
    void ImportChar(const MifProp& prop);
    void ImportFootnote(const MifProp& prop);
    void AnchorFrame(const MifProp& prop);
    // The frame anchored at `index`, its paragraph making room for a run-into-paragraph frame.
    void AnchorFrameAt(const UIDRef& item, int32 index, bool runInto, const MifFrameAnchoring::FrameAnchor& anchor);
    // Anchors `frames` at `index` of `story`, above the line that starts there; a forced line
    // break is put in front when no line starts at `index`. The number of characters inserted.
    int32 AnchorBelowFramesAt(const UIDRef& story, int32 index, const std::vector<UIDRef>& frames);
    // The text after small anchor characters at the text index goes on in its own size.
    void ApplyTextSizeAfterAnchor();
    void ImportVariable(const MifObject& mifVariable);
    // The cross-reference importer's part, in the mode that uses cross-references.
    int32 CrossReferenceMode();
    bool ImportXRef(const MifObject& mifXRef);
    void ImportMarker(const MifObject& marker);

    MifContentImporter& mImporter;
    // The Below frames met in the paragraph being imported, anchored when it ends, the text
    // indexes of their anchors, and the story they go into.
    std::vector<UIDRef> mPendingBelowFrames;
    std::vector<int32> mPendingBelowIndexes;
    UIDRef mPendingBelowStory;
};
