// DocCommand: a command whose targets (its item list) are objects of one document, processed
// by that document's command manager.
#pragma once

#include "Command.h"
#include "DataBase.h"
#include "UIDRef.h"

class DocCommand : public Command {
public:
    // The command's targets; after processing, commands that create objects list them here.
    void SetItemList(const UIDList& items) { mItems = items; }
    const UIDList& GetItemList() const { return mItems; }

protected:
    CommandMgr* GetCommandMgr() const override;
    // The database of the targets; null when there are none or it is no open document.
    DataBase* GetDataBase() const;
    // Whether the item list names exactly the document of an open database.
    bool TargetsDocument() const;

    UIDList mItems;
};
