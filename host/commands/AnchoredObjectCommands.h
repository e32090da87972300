// The commands that anchor page items in stories and set how they stand beside their anchor.
// Each fails with kInvalidParameterError, changing nothing, when its targets or data are not what
// it works on. An anchor's story is composed anew after each of them.
#pragma once

#include "AnchoredObject.h"
#include "DocCommand.h"
#include "PMGeometry.h"
#include "TextModel.h"

// Takes the page items of the item list off their spread (or out of the group that holds them);
// they stay in the document, on no spread, until anchored or deleted.
class RemoveFromHierarchyCmd : public DocCommand {
public:
    RemoveFromHierarchyCmd() { SetName("Remove From Hierarchy"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Anchors the page item `item` (on no spread, anchored nowhere) in the story of the item list:
// the object replacement character is inserted at `index` (in front of the story's end) with the
// formatting in force there, and the item becomes its owned item, inline until its settings are
// changed. Afterwards `index` is the anchor character's.
class InsertAnchoredObjectCmd : public DocCommand {
public:
    InsertAnchoredObjectCmd() { SetName("Insert Anchored Object"); }
    int32 index = 0;
    UID item = kInvalidUID;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets the anchored-object settings of the anchored page items of the item list.
class ChangeAnchoredObjectDataCmd : public DocCommand {
public:
    ChangeAnchoredObjectDataCmd() { SetName("Change Anchored Object Settings"); }
    AnchoredObjectSettings anchoredObjectData;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Makes a text frame of `width` × `height` points (both above 0), with a new empty story, anchored
// in the story of the item list at rangeData.start with `anchoredObjectData`; afterwards the
// item list holds the frame and uidData is it.
class CreateAnchoredObjectCmd : public DocCommand {
public:
    CreateAnchoredObjectCmd() { SetName("Create Anchored Object"); }
    TextRange rangeData;
    PMReal width = 0;
    PMReal height = 0;
    AnchoredObjectSettings anchoredObjectData;
    UID uidData = kInvalidUID;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
