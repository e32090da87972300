// MifVariableImporter: variable formats become text variables, and variables in text become
// their text.
//
// Handles: VariableFormats > VariableFormat (VariableName, VariableDef) for the text of a
// Variable: literals, character-format tags and the building blocks <$curpagenum>,
// <$lastpagenum>, <$filename>, <$fullfilename>, <$volnum>, <$chapnum>, <$paratext[...]> (no
// text) and the date and time blocks; Document's VolumeNumStart, ChapterNumStart,
// ChapterNumStyle, ChapterNumText. Not yet: formats as the document's own text variables.
#pragma once

#include <ctime>
#include <vector>

#include "IMifVariableImporter.h"
#include "PMString.h"

class MifVariableImporter : public IMifVariableImporter {
public:
    void SetRoot(MifObject* mifRoot) override;
    void SetSourceFile(const IDFile& file) override { mSourceFile = file; }
    void ImportVariableFormats() override {}
    void ConvertVariableToText(const MifObject* mifVariable) override;

    // One piece of a definition: a literal, a character-format tag or a building block, or the
    // text that a block shows (`replaced`).
    struct TextPiece {
        PMString text;
        bool replaced = false;
    };
    // The pieces of a definition with every building block that has a text replaced by it, as
    // they would be inserted at `now`.
    std::vector<TextPiece> GetTextPieces(const PMString& definition, const std::tm& now);
    // The text of one building block at `now`; false for a piece that is no block with a text.
    bool GetBlockText(const PMString& block, const std::tm& now, PMString& text);

private:
    MifObject* mMifRoot = nullptr;
    const MifObject* mMifVariableFormats = nullptr;
    IDFile mSourceFile;
};
