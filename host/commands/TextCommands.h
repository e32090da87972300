// The text-model commands: insert, delete, apply a style, apply attributes, and make a footnote.
// The item list names one story. Each fails with kInvalidParameterError, changing nothing, when
// the story or the range is not what it works on.
#pragma once

#include <memory>

#include "AttributeBossList.h"
#include "DocCommand.h"
#include "TextModel.h"

// Inserts `text` before `index`, which must be in front of the story's end.
class InsertTextCmd : public DocCommand {
public:
    InsertTextCmd() { SetName("Insert Text"); }
    int32 index = 0;
    std::u16string text;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Deletes [index, index + length) of one thread; footnotes anchored there go with their text.
class DeleteTextCmd : public DocCommand {
public:
    DeleteTextCmd() { SetName("Delete Text"); }
    int32 index = 0;
    int32 length = 0;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Applies the paragraph or character style `style` to [index, index + length); with length 0 a
// character style sets the formatting of the next text inserted at `index`. `boolData` clears
// the range's overrides.
class ApplyTextStyleCmd : public DocCommand {
public:
    ApplyTextStyleCmd() { SetName("Apply Style"); }
    UID style = kInvalidUID;
    int32 index = 0;
    int32 length = 0;
    bool boolData = true;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Adds `attributes` to [index, index + length): paragraph attributes to its paragraphs,
// character attributes to its characters (length 0: to the next text inserted at `index`).
class ApplyTextAttributesCmd : public DocCommand {
public:
    ApplyTextAttributesCmd() { SetName("Apply Attributes"); }
    AttributeBossList attributes;
    int32 index = 0;
    int32 length = 0;
    bool boolData = true;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Makes a footnote whose marker is the footnote marker character at rangeData (start == end, or
// end = start + 1): the footnote gets a thread of one empty paragraph at the end of the story.
// Afterwards uidData is the footnote and textStoryThread the range of its thread.
class CreateFootnoteCmd : public DocCommand {
public:
    CreateFootnoteCmd() { SetName("Create Footnote"); }
    TextRange rangeData;
    bool boolData = false;
    UID uidData = kInvalidUID;
    TextRange textStoryThread;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
