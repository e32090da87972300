// Commands on the styles and lists of a document; the item list names the document (its style
// workspace), and after creation holds the new style or list.
#pragma once

#include "AttributeBossList.h"
#include "DocCommand.h"
#include "Style.h"

// Creates a paragraph or character style. Fails when the name is empty or a style of the same
// kind and name exists.
class CreateStyleCmd : public DocCommand {
public:
    explicit CreateStyleCmd(StyleKind kind) : kind(kind) { SetName(kind == StyleKind::kParagraph ? "New Paragraph Style" : "New Character Style"); }
    StyleKind kind;
    PMString styleName;
    UID basedOn = kInvalidUID;
    UID nextStyle = kInvalidUID;
    AttributeBossList textAttributes;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Deletes the style `uidData`. The document's reserved styles cannot be deleted; text and
// styles that referred to the style refer to none afterwards.
class DeleteStyleCmd : public DocCommand {
public:
    DeleteStyleCmd() { SetName("Delete Style"); }
    UID uidData = kInvalidUID;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Creates a numbering list. Fails when the name is empty or taken.
class CreateListStyleCmd : public DocCommand {
public:
    CreateListStyleCmd() { SetName("New List"); }
    PMString listName;
    bool continueAcrossStories = false;
    bool continueFromPreviousDocument = false;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
