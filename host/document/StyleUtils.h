// StyleUtils: the style groups of a document (paragraph and character styles by name), its
// lists, and the document font manager.
#pragma once

#include "DataBase.h"
#include "Style.h"

namespace StyleUtils {
// The style of `kind` named `name`; kInvalidUID when none.
UID FindStyle(const DataBase& db, StyleKind kind, const PMString& name);
// The list named `name`; kInvalidUID when none.
UID FindList(const DataBase& db, const PMString& name);
// The document's default list.
UID GetDefaultList(const DataBase& db);
// Adds the styles and the default list of a new document.
void AddDefaultStyles(DataBase& db);
// The value of `kind` that style `style` sets, or else the nearest style it is based on; null
// when none of them sets it, when `style` is not a style, or when the chain loops.
const AttributeValue* GetInheritedAttribute(const DataBase& db, UID style, TextAttribute kind);
}

namespace DocFontMgr {
// The document's font family `name`, added (and checked against the installed fonts) when it is
// new; kInvalidUID for an empty name.
UID GetFontFamilyUID(DataBase& db, const PMString& name);
// Notes that the document's text uses `style` of the family.
void AddStyle(DataBase& db, UID family, const PMString& style);
}
