// Commands that add plug-in objects to a document and delete objects from it.
#pragma once

#include <memory>
#include <vector>

#include "DocCommand.h"
#include "DocObject.h"
#include "IPMUnknown.h"

// Creates an object of a plug-in's persistent class (PersistentObject) in the document of the
// item list; afterwards the item list holds the new object.
class NewPersistentObjectCmd : public DocCommand {
public:
    NewPersistentObjectCmd() { SetName("New Object"); }
    ClassID classID = 0;

protected:
    ErrorCode Do() override;
    void Undo() override;
    void Redo() override;

private:
    std::unique_ptr<DocObject> mUndone;
};

// Deletes the objects of the item list: objects that no other object refers to, such as a
// plug-in's persistent objects (the document itself cannot be deleted). Fails, deleting nothing,
// when one does not exist.
class DeleteUIDsCmd : public DocCommand {
public:
    DeleteUIDsCmd() { SetName("Delete"); }

protected:
    ErrorCode Do() override;
    void Undo() override;

private:
    std::vector<std::unique_ptr<DocObject>> mDeleted;
};
