// VariableText: what a text variable shows now, for the writers and the preview.
//
// Custom text shows its contents; a file name the document's name (with or without its
// extension); the last page number the document's page count; a running header the text of the
// first paragraph of its style; dates the current time in the variable's format. Text before and
// after frame the value.
#pragma once

#include <ctime>

#include "DataBase.h"
#include "PMString.h"
#include "TextVariable.h"

namespace VariableText {
// The value of `variable` in `db` at `now` (local time).
PMString GetValue(const DataBase& db, const TextVariable& variable, const std::tm& now);
// The value of the instance anchored at `index` of `model`'s story; empty when none is there.
PMString GetInstanceValue(const DataBase& db, UID instance, const std::tm& now);
// `pattern` ("M/d/yy", "EEEE", "h:mm a") with its date tokens replaced from `now`; quoted text
// ('...') and other characters stay as they are.
PMString FormatDate(const PMString& pattern, const std::tm& now);
// The local time now.
std::tm Now();
// Replaces in `text` (characters of a story, as the composer reads them) the anchors of text
// variables, cross-references and their destinations by a word joiner: they take their place
// without showing anything and without offering a line break.
void MaskAnchors(std::u16string& text);
}
