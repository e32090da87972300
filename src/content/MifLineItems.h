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
// What the catalogs' importers hand back to insert (their headers are the code's to include).
struct MifVariablePiece;
struct MifXRefInstance;

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
    // A Variable as the variable importer cuts it into pieces, by the preset: variable
    // instances, or its text.
    void ImportVariable(const MifObject& mifVariable);
    void InsertVariablePieces(const std::vector<MifVariablePiece>& pieces);
    // An instance of the document's text variable `variable` at the text index; false when it
    // could not go in (the pieces after it are then left out).
    bool InsertVariableInstance(const PMString& variable);
    // The cross-reference importer's part, in the mode that uses cross-references.
    int32 CrossReferenceMode();
    // Whether the XRef became a live cross-reference; its text in the file is skipped then.
    bool ImportXRef(const MifObject& mifXRef);
    bool InsertCrossReference(const MifXRefInstance& instance);
    void ImportMarker(const MifObject& marker);

    MifContentImporter& mImporter;
    // The Below frames met in the paragraph being imported, anchored when it ends, the text
    // indexes of their anchors, and the story they go into.
    std::vector<UIDRef> mPendingBelowFrames;
    std::vector<int32> mPendingBelowIndexes;
    UIDRef mPendingBelowStory;
};
