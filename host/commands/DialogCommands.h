// Commands that end an import: checking the fonts a document uses, and the dialogs that show
// the missing fonts and the warnings.
#pragma once

#include "DocCommand.h"

// Finds again which fonts of the document of the item list the system lacks.
class RefreshMissingFontsCmd : public DocCommand {
public:
    RefreshMissingFontsCmd() { SetName("Refresh Missing Fonts"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Shows the missing fonts of the document of the item list.
class OpenMapFontsCmd : public DocCommand {
public:
    OpenMapFontsCmd() { SetName("Find Font"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Shows the warnings dialog with `stringData`; a session command, usually scheduled so that it
// opens after the current operation has returned.
class OpenWarningsDlgCmd : public Command {
public:
    OpenWarningsDlgCmd() { SetName("Warnings"); }
    PMString stringData;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
