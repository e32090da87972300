#include "TextVariableCommands.h"

#include <algorithm>

#include "CmdUtils.h"
#include "Document.h"
#include "Story.h"
#include "TextCommands.h"
#include "TextVariableFacade.h"

ErrorCode AddTextVariableCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || !TargetsDocument() || variable.name.IsEmpty()) return kInvalidParameterError;
    Document* document = db->GetDocument();
    TextVariable* made = TextVariableFacade::FindVariable(*db, variable.name);
    if (!made) {
        made = db->Create<TextVariable>();
        document->textVariables.push_back(made->GetUID());
    }
    // The same object under the name keeps the instances that show it; the fields are copied
    // one by one, as a whole copy would take the template's (empty) identity along.
    made->name = variable.name;
    made->baseType = variable.baseType;
    made->contents = variable.contents;
    made->textBefore = variable.textBefore;
    made->textAfter = variable.textAfter;
    made->includePath = variable.includePath;
    made->includeExtension = variable.includeExtension;
    made->scope = variable.scope;
    made->use = variable.use;
    made->deleteEndPunctuation = variable.deleteEndPunctuation;
    made->paragraphStyle = variable.paragraphStyle;
    uidData = made->GetUID();
    return kSuccess;
}

ErrorCode InsertTextVariableCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.Length() != 1 || !db->Get<TextVariable>(uidData)) return kInvalidParameterError;
    Story* story = db->Get<Story>(mItems.At(0));
    if (!story) return kInvalidParameterError;
    auto insertCmd = std::make_shared<InsertTextCmd>();
    insertCmd->SetItemList(mItems);
    insertCmd->index = index;
    insertCmd->text = std::u16string(1, kTextChar_TextVariable);
    if (CmdUtils::ProcessCommand(insertCmd) != kSuccess) return kInvalidParameterError;
    TextVariableInstance* made = db->Create<TextVariableInstance>();
    made->variable = uidData;
    made->story = story->GetUID();
    story->textModel.SetOwnedItem(index, made->GetUID());
    instance = made->GetUID();
    return kSuccess;
}

namespace TextVariableFacade {

TextVariable* FindVariable(const DataBase& db, const PMString& name)
{
    const Document* document = db.GetDocument();
    if (!document) return nullptr;
    for (UID uid : document->textVariables)
        if (TextVariable* variable = db.Get<TextVariable>(uid); variable && variable->name == name) return variable;
    return nullptr;
}

ErrorCode AddVariable(DataBase& db, const AddVariableInfo& info)
{
    if (!info.HasBaseType()) return kInvalidParameterError;
    auto addCmd = std::make_shared<AddTextVariableCmd>();
    addCmd->SetItemList(UIDList(db.GetDocument()->GetRef()));
    addCmd->variable = info.Get();
    return CmdUtils::ProcessCommand(addCmd);
}

ErrorCode InsertVariable(DataBase& db, const PMString& name, UID story, int32 index)
{
    TextVariable* variable = FindVariable(db, name);
    if (!variable) return kInvalidParameterError;
    auto insertCmd = std::make_shared<InsertTextVariableCmd>();
    insertCmd->SetItemList(UIDList(UIDRef(&db, story)));
    insertCmd->uidData = variable->GetUID();
    insertCmd->index = index;
    return CmdUtils::ProcessCommand(insertCmd);
}

} // namespace TextVariableFacade
