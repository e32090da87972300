// MifPageGrower: adds body pages for text that overflows the last frame of an autoconnected
// flow, as FrameMaker does when it opens a file that holds fewer pages than its text needs
// (writers other than FrameMaker often give a flow one page and leave the rest to it).
//
// Each flow grows after the last page that shows it: pages are inserted there (left and right
// pages alternating in a facing document, each with the document's first master, which holds
// the left and right master pages), each gets the frames the master page of its side has for the
// flow's tag (or a frame like the overflowing one when the master has none), threaded on, and
// the story is composed again, until its text fits. Composition goes on from the old last frame,
// so the work grows with the text. Pages come in batches sized from what the pages so far took;
// pages the text does not reach are removed again; a table's rows run on over the new pages like
// lines, and a running table sizes the batches from its rows. A page that takes no text (neither
// a line nor a table row) while text is left over ends the growth of its flow (the text can
// never fit), and is removed. A document-wide
// limit stops runaway growth. Each outcome is said in the import's error log.
#pragma once

#include <unordered_map>
#include <vector>

#include "PMGeometry.h"
#include "PMString.h"
#include "UIDRef.h"

class IMifErrorLog;
class IMifLayoutImporter;
class Story;
class TextFrame;

class MifPageGrower {
public:
    // One frame of a new page: its outline in page coordinates, its columns and gutter.
    struct FrameShape {
        PMRect rect;
        int32 columns = 1;
        PMReal gap = 0;
    };
    // A story to grow: its flow's tag and the frames the left and right master pages hold for
    // that tag (empty: a frame like the story's last frame).
    struct Flow {
        PMString tag;
        UID story = kInvalidUID;
        std::vector<FrameShape> leftShapes, rightShapes;
    };

    // `layout` makes the frames; `errors` (may be null) gets the report; at most `maxPages` pages
    // are added to the document in all.
    MifPageGrower(DataBase& db, IMifLayoutImporter& layout, IMifErrorLog* errors, int32 maxPages);

    // Grows the flows, in the order of their last pages in the document.
    void Grow(const std::vector<Flow>& flows);
    // The pages added so far.
    int32 GetAddedPageCount() const { return mAdded; }

private:
    enum class Outcome { kFits, kNeverFits, kLimit, kFailed };
    // Grows one flow whose story's last frame is `lastFrame`, on `lastPage`; the pages added.
    int32 GrowFlow(const Flow& flow, Story& story, UID lastPage, Outcome& outcome);
    // The pages of the next batch, after a batch of `count` pages that all took text: from the
    // text (or the rows of a table that runs on) that they took, from `before` in the story and
    // frame entry `firstEntry` on; `added` pages added for the flow so far, `room` left in all.
    int32 NextBatch(const Story& story, int32 before, int32 firstEntry, int32 count, int32 added, int32 room) const;
    // Gives `page` its frames for the flow, threaded on after `last`, which becomes the page's
    // last frame; false when a frame could not be made or threaded.
    bool FillPage(UID page, const Flow& flow, const FrameShape& fallback, UID layer, UID& last);
    // Removes `pages` (in order), with their frames.
    void RemovePages(const std::vector<UID>& pages);
    // Says what became of a flow.
    void Report(const Flow& flow, int32 added, Outcome outcome) const;

    DataBase& mDB;
    IMifLayoutImporter& mLayout;
    IMifErrorLog* mErrors;
    int32 mMaxPages;
    int32 mAdded = 0;
    // A page that a flow ended on, to the last page added after it: a second flow ending on the
    // same page grows after the pages of the first.
    std::unordered_map<UID, UID> mAddedAfter;
};
