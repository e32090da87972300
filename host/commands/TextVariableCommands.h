// The text variable commands: add a variable to the document's table, and insert an instance of
// one into a story.
#pragma once

#include "DocCommand.h"
#include "TextVariable.h"

// Adds `variable` (its fields copied) to the table of the document the item list names,
// replacing a variable of the same name (whose instances then show the new one). Afterwards
// uidData is the variable.
class AddTextVariableCmd : public DocCommand {
public:
    AddTextVariableCmd() { SetName("Add Text Variable"); }
    TextVariable variable;
    UID uidData = kInvalidUID;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Inserts an instance of the variable `uidData` before `index` of the story the item list names.
// Afterwards instance is the new instance.
class InsertTextVariableCmd : public DocCommand {
public:
    InsertTextVariableCmd() { SetName("Insert Text Variable"); }
    UID uidData = kInvalidUID;
    int32 index = 0;
    UID instance = kInvalidUID;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
