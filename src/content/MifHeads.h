// MifHeads: the content importer's part for run-in and side heads. Each head is an anchored text
// frame at the start of the body paragraph that follows it, filled instead of the body story
// while the head's paragraphs are imported; the body text goes on after the anchor when the head
// ends.
#pragma once

#include "AnchoredObject.h"
#include "PMTypes.h"
#include "UIDRef.h"

class MifContentImporter;

class MifHeads {
public:
    explicit MifHeads(MifContentImporter& importer) : mImporter(importer) {}

    void OpenRunIn();
    void CloseRunIn();
    void OpenSidehead();
    void CloseSidehead();
    // At the end of a flow (or of the text it is poured into), open heads end.
    void CloseHeads();
    // The run-in head ends with its paragraph format's default punctuation.
    void InsertRunInPunctuation();

private:
    // Puts the anchor of a head at the start of a body paragraph of its own (the paragraph after
    // the head's continues it) and saves the body position after the anchor.
    bool StartHeadAnchor(PMReal width, PMReal height, const AnchoredObjectSettings& settings);
    void EndHead();
    // A run-in head of one line shares its baseline with the body text and is as wide as its text.
    void FitRunInToItsLine(const UIDRef& head);
    // Moves the body text down until the new side head clears `previous`, the one before it.
    void ClearPreviousSidehead(const UIDRef& previous);

    MifContentImporter& mImporter;
};
