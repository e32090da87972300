// TextVariableFacade: the document's text variable table and the insertion of variable
// instances, as importers use them.
//
//   AddVariableInfo info;
//   info.SetName("Current Date (Short)");
//   info.SetBaseTypeID(kCurrentDateVariableType);
//   info.SetContents("M/d/yy");
//   TextVariableFacade::AddVariable(db, info);
//   TextVariableFacade::InsertVariable(db, "Current Date (Short)", story, index);
//
// Both go through commands (AddTextVariableCmd, InsertTextVariableCmd).
#pragma once

#include "DataBase.h"
#include "PMString.h"
#include "TextVariable.h"

// What a new text variable is made of; the setters mirror TextVariable's fields.
class AddVariableInfo {
public:
    void SetName(const PMString& name) { mVariable.name = name; }
    void SetBaseTypeID(ClassID type) { mVariable.baseType = type; mHasType = true; }
    void SetContents(const PMString& contents) { mVariable.contents = contents; }
    void SetTextBefore(const PMString& text) { mVariable.textBefore = text; }
    void SetTextAfter(const PMString& text) { mVariable.textAfter = text; }
    void SetIncludePath(bool on) { mVariable.includePath = on; }
    void SetIncludeExtension(bool on) { mVariable.includeExtension = on; }
    void SetScope(int32 scope) { mVariable.scope = scope; }
    void SetUse(int32 use) { mVariable.use = use; }
    void SetDeleteEndPunctuation(bool on) { mVariable.deleteEndPunctuation = on; }
    // The paragraph style a running header looks for.
    void SetUID(UID style) { mVariable.paragraphStyle = style; }

    const TextVariable& Get() const { return mVariable; }
    // Whether a base type was set (a variable without one cannot be made).
    bool HasBaseType() const { return mHasType; }

private:
    TextVariable mVariable;
    bool mHasType = false;
};

namespace TextVariableFacade {
// The variable of the document's table named `name`; null when there is none.
TextVariable* FindVariable(const DataBase& db, const PMString& name);
// Adds a variable to the table, replacing one of the same name; kInvalidParameterError without
// a name or a base type.
ErrorCode AddVariable(DataBase& db, const AddVariableInfo& info);
// Inserts an instance of the variable `name` before `index` of `story`; the instance's anchor
// character takes one position. kInvalidParameterError for no such variable, story or index.
ErrorCode InsertVariable(DataBase& db, const PMString& name, UID story, int32 index);
}
