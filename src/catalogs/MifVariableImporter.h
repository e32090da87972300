// MifVariableImporter: variable formats become text variables, and variables in text become
// variable instances (Use Variables) or their text (Convert to Text).
//
// Handles: VariableFormats > VariableFormat (VariableName, VariableDef): whole formats become
// file name, date (current, modification, creation), running header and custom text variables;
// other formats are split at each Variable into literals, character-format tags and one text
// variable per building block: <$curpagenum> (the page number character), <$lastpagenum>,
// <$filename>, <$fullfilename>, <$volnum>, <$chapnum>, <$paratext[...]> and the date and time
// blocks; Document's VolumeNumStart, VolumeNumStyle, VolumeNumText, ChapterNumStart,
// ChapterNumStyle, ChapterNumText. Passed over with a warning: other building blocks
// (<$paranum>, <$marker1>, ...).
#pragma once

#include <ctime>
#include <vector>

#include "PMString.h"
#include "TextVariableFacade.h"

#include "base/MifProblemReporter.h"
#include "catalogs/IMifVariableImporter.h"

class MifVariableImporter : public IMifVariableImporter {
public:
    void SetRoot(MifObject* mifRoot) override;
    void SetSourceFile(const IDFile& file) override { mSourceFile = file; }
    void ImportVariableFormats() override;
    std::vector<MifVariablePiece> ImportVariable(const MifObject* mifVariable) override;
    std::vector<MifVariablePiece> ConvertVariableToText(const MifObject* mifVariable, int32 temporaryPages) override;

    // One piece of a definition: a literal, a character-format tag or a building block, or the
    // text that a block shows (`replaced`).
    struct TextPiece {
        PMString text;
        bool replaced = false;
    };
    // The pieces of a definition with every building block that has a text replaced by it, as
    // they would be inserted at `now` (`temporaryPages` as for ConvertVariableToText).
    std::vector<TextPiece> GetTextPieces(const PMString& definition, const std::tm& now, int32 temporaryPages);
    // The text of one building block at `now`; false for a piece that is no block with a text.
    bool GetBlockText(const PMString& block, const std::tm& now, int32 temporaryPages, PMString& text);

    // The pieces a whole format is matched by: literals and building blocks, tags left out.
    static std::vector<PMString> GetFormatPieces(const PMString& definition);
    // The pieces an instance is inserted from: literals, tags and blocks.
    static std::vector<PMString> GetInstancePieces(const PMString& definition);
    // The date-format token of a date and time block ("<$monthnum>" → "M"); empty for others.
    static PMString GetDateToken(const PMString& block);
    // Fills `info` (name and texts already set) from the format's pieces by the first kind of
    // variable that matches them whole; false when none does.
    bool TranslateFormat(const std::vector<PMString>& pieces, const PMString& name, AddVariableInfo& info) const;

private:
    // The name of a Variable and the definition of its format (FrameMaker's own for the page
    // variables "Current Page #" and "Page Count" when the file has none); false (logged) when
    // it has none.
    bool FindDefinition(const MifObject* mifVariable, PMString& name, PMString& definition) const;
    // The warning for a Variable whose format is not found.
    void ReportMissingFormat(const MifObject* mifVariable, const PMString& name);
    // A text variable for the building block `block` of the format `formatName`; false when the
    // block has no kind of its own.
    bool TranslateBlock(const PMString& block, const PMString& formatName, AddVariableInfo& info) const;
    // Adds the text variable of the building block `block` of the format `formatName`; false
    // (the warning given for `line`) when the block has no kind of its own.
    bool AddBlockVariable(const PMString& block, const PMString& formatName, int32 line);
    // Whether strings keep their escapes until they are inserted (MIF 8 and later).
    bool KeepsEscapes() const;
    PMString Decoded(const PMString& text) const;
    // Tells the user of `problem` through the import's error log.
    void Report(const MifProblem& problem) const { MifProblemReporter(this).Report(problem); }

    MifObject* mMifRoot = nullptr;
    const MifObject* mMifVariableFormats = nullptr;
    IDFile mSourceFile;
};
