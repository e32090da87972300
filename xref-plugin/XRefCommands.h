// XRefCommands: the plug-in's four commands. Each reads the XRefCommand fields named here and
// fails with kInvalidParameterError, changing nothing, when they are not what it works on.
#pragma once

#include "IXRefPlugIn.h"

// Adds the format `formatData` to the document the item list names (a format of the same name
// stays: delete it first to replace it). Cross-references left without their format by a delete
// take the new one of their format's name.
class XRefAddFormatCmd : public XRefCommand {
public:
    XRefAddFormatCmd() { SetName("Add Cross-Reference Format"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Deletes the format at index `intData` of the document's formats list.
class XRefDeleteFormatCmd : public XRefCommand {
public:
    XRefDeleteFormatCmd() { SetName("Delete Cross-Reference Format"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Inserts a cross-reference at `rangeData.start` of the story the item list names: its format
// `formatData` (the document's format of that name, made from the data when there is none), its
// key `stringData`, in the document `sysFileData` when `hasSysFileData`. It takes its two anchors
// and its text. Afterwards the item list names the cross-reference (a CrossReferenceSource).
class XRefInsertCrossRefCmd : public XRefCommand {
public:
    XRefInsertCrossRefCmd() { SetName("Insert Cross-Reference"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Inserts a marker (a text destination) named `stringData` at `rangeData.start` of the story the
// item list names; it takes one character. Cross-references of its key that had no destination
// point at it from now on. Afterwards the item list names the destination.
class XRefInsertSourceMarkerCmd : public XRefCommand {
public:
    XRefInsertSourceMarkerCmd() { SetName("Insert Cross-Reference Marker"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
