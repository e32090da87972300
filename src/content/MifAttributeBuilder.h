// MifAttributeBuilder: a Pgf statement as paragraph attributes, a Font (or PgfFont) statement
// as character attributes. Only the properties below are converted; the others keep the host's
// defaults.
//
// Paragraph: PgfRIndent, PgfLIndent, PgfFIndent, PgfSpBefore, PgfSpAfter, PgfPlacement,
// PgfAlignment, TabStop, PgfAutoNum with PgfNumFormat and PgfNumberFont, PgfHyphenate,
// PgfMin/Opt/MaxWordSpace, PgfWithNext, PgfBlockSize, PgfTopSeparator and PgfBotSeparator (as
// rules above and below); always the composer.
// Character: FFamily, FAngle, FWeight, FVar, FPostScriptName (through the font converter),
// FSize, FPosition, FColor, FStretch, FDW, FCase, FUnderlining, FStrike; not FOverline, which
// InDesign cannot draw.
#pragma once

#include "AttributeBossList.h"
#include "DataBase.h"

#include "content/MifImportState.h"

class IMifColorImporter;
class IMifErrorLog;
class IMifFontConverter;
class IMifTextConverter;
class MifObject;
class MifParagraphRules;

struct MifAttributeContext {
    DataBase* db = nullptr;
    const MifObject* root = nullptr;
    IMifColorImporter* colorImporter = nullptr;
    IMifFontConverter* fontConverter = nullptr;
    IMifTextConverter* textConverter = nullptr;
    IMifErrorLog* importErrors = nullptr;   // where values out of range are reported; may be null
    const MifImportState* state = nullptr;  // the fonts and format in force; may be null
    int32 leadingMode = 2;                  // 1: auto leading where it fits, 2: always fixed
    int32 composerMode = 2;                 // 1: paragraph composer, 2: single-line composer
    MifParagraphRules* paragraphRules = nullptr;  // the separators' frames; none: separators are passed over
};

class MifAttributeBuilder {
public:
    explicit MifAttributeBuilder(const MifAttributeContext& context) : mContext(context) {}

    // Adds the attributes of `pgf`; false when a missing service ended the list early.
    bool BuildParagraphAttributes(AttributeBossList& attributes, const MifObject& pgf);
    // Adds the attributes of `font`; false when a missing service ended the list early.
    bool BuildCharacterAttributes(AttributeBossList& attributes, const MifObject& font);
    // The leading of `pgf` with the size of its `pgfFont`, within what InDesign holds; nothing
    // when either is absent.
    void AddLeading(AttributeBossList& attributes, const MifObject& pgf, const MifObject& pgfFont);
    // MIF leading is added to the font size; InDesign's is the whole line distance. -1 (auto)
    // when the first leading choice is in force and the sum is what auto leading gives.
    static PMReal Leading(double size, double lead, int32 leadingMode);
    // The numbering expression of a decoded PgfNumFormat (without its series label), with the
    // numbering format, the number of number blocks and the start value (-1 when none) found.
    struct Numbering {
        PMString expression;
        int32 format = kNumberingNone;
        int32 blocks = 0;
        int32 startAt = -1;
    };
    Numbering ParseNumberFormat(const PMString& format) const;

private:
    void AddIndents(AttributeBossList& attributes, const MifObject& pgf);
    void AddTabStops(AttributeBossList& attributes, const MifObject& pgf);
    void AddSeparator(AttributeBossList& attributes, const MifObject& pgf, bool above);
    bool AddNumbering(AttributeBossList& attributes, const MifObject& pgf);
    bool DecodeNumberFormat(const MifObject& pgf, PMString& format);
    bool AddFont(AttributeBossList& attributes, const MifObject& font);

    MifAttributeContext mContext;
};
