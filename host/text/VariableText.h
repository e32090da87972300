// VariableText: what a text variable shows now, for the writers and the preview.
//
// Custom text shows its contents; a file name the document's name (with or without its
// extension); the last page number the document's page count; a running header the text of the
// first paragraph of its style; dates the current time in the variable's format. Text before and
// after frame the value.
#pragma once

#include <ctime>
#include <string>
#include <unordered_map>
#include <vector>

#include "DataBase.h"
#include "PMString.h"
#include "TextVariable.h"

class PageNumbering;

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
// Where an instance is shown, for the values that depend on it: the page (kInvalidUID when not
// known) and the document's page numbering.
// Running headers, found once per paragraph style for every page that asks: the paragraphs of
// the style that composed stories show, by page. Kept by whoever asks for many pages.
class RunningHeaders {
public:
    struct Shown {
        int32 page = 0;  // index into the document's pages
        std::u16string text;
    };
    // The paragraphs of `style` by page, in story and text order within a page.
    const std::vector<Shown>& Of(const DataBase& db, const PageNumbering& numbering, UID style);

private:
    std::unordered_map<UID, std::vector<Shown>> mStyles;
};
struct VariablePage {
    const PageNumbering* numbering = nullptr;
    UID page = kInvalidUID;
    RunningHeaders* headers = nullptr;  // none: running headers are looked for on each call
};
// Whether what `variable` shows depends on the page it is shown on: a last page number counted
// in its section, a running header.
bool DependsOnPage(const TextVariable& variable);
// The value of `variable` shown on `where.page`: a last page number is the name of the last page
// of the document (scope 1) or of the page's section; a running header the text of the first
// (use 0) or last paragraph of its style on the page, else of the last one on a page before it,
// as the stories are composed; without a page, as GetValue.
PMString GetValueOnPage(const DataBase& db, const TextVariable& variable, const std::tm& now, const VariablePage& where);
// The value of the instance `instance` shown on `where.page`.
PMString GetInstanceValueOnPage(const DataBase& db, UID instance, const std::tm& now, const VariablePage& where);
// The page that shows `frame`: the page of its spread under the frame's centre, or the spread's
// first; kInvalidUID when the frame stands on no spread.
UID PageOfFrame(const DataBase& db, UID frame);
// Replaces in `text` (characters of a story, as the composer reads them) the anchors of text
// variables, cross-references and their destinations by a word joiner: they take their place
// without showing anything and without offering a line break.
void MaskAnchors(std::u16string& text);
}
