// English texts of the plug-in's string keys.
#include "MifStrings.h"

const StringTableEntry kMifStrings_enUS[] = {
    {"OV#0xB40#kMifImportProgressTitleKey", "Opening MIF document"},
    {"OV#0xB40#kMifParsingMIFKey", "Parsing file..."},
    {"OV#0xB40#kMifImportingColorsKey", "Importing colors..."},
    {"OV#0xB40#kMifImportingStylesKey", "Importing styles..."},
    {"OV#0xB40#kMifImportingAnchoredFramesKey", "Importing anchored frames..."},
    {"OV#0xB40#kMifImportingLayoutKey", "Importing layout..."},
    {"OV#0xB40#kMifImportingContentKey", "Importing content..."},
    {"OV#0xB40#kMifFinalizingKey", "Finalizing..."},
    {"OV#0xB40#kMifInvalidFileColonKey", "Invalid file:"},
    {"OV#0xB40#kMifMissingFileColonKey", "Missing file:"},
    {"OV#0xB40#kMifIgnoreRemainingMissingFilesKey", "Ignore remaining missing files?"},
    {"OV#0xB40#kMifImageOutsideFolderKey", "Image file outside the folder of the MIF file, neither read nor linked"},
    {"OV#0xB40#kMifImportingParagraphsKey", "Importing paragraphs (^1%)"},
    {"OV#0xB40#kMifImportingTableKey", "Importing table..."},
    {"OV#0xB40#kMifFootnoteInTableKey", "Table import: footnotes within tables are not supported, footnote is ignored"},
    {"OV#0xB40#kMifFMDocumentKey",
     "This file is an Adobe FrameMaker FM document, please convert it to the MIF format first. To save a document "
     "as a MIF file, open your document in FrameMaker, choose Save As and select \"Document type: Maker Interchange "
     "Format\""},
    {"OV#0xB40#kMifBookDocumentKey", "This file is an Adobe FrameMaker book document, which is not currently supported."},
    {"OV#0xB40#kMifImportStoppedKey",
     "The MIF import stopped because of an internal fault (^1). No document was made; the diagnostic log has the details."},
    {"OV#0xB40#kMifBatchConvertMenuItemKey", "Batch Conversion..."},
    {"OV#0xB40#kMifPrefsMenuItemKey", "Tessel..."},
    {"Adobe FrameMaker Interchange Format (MIF)", "Adobe FrameMaker Interchange Format (MIF)"},

    // Preferences and presets
    {"OV#0xB40#kMifCommonPresetNameKey", "[Common]"},
    {"OV#0xB40#kMifSetPrefsCmdKey", "Tessel Preferences"},
    {"OV#0xB40#kMifConvertToAutoLeadingKey", "Convert to &Auto Leading When Possible (Reusability)"},
    {"OV#0xB40#kMifUseAlwaysFixedLeadingKey", "Use Always &Fixed Leading (Fidelity)"},
    {"OV#0xB40#kMifUseAdobeParagraphComposerKey", "Use Adobe &Paragraph Composer (Reusability)"},
    {"OV#0xB40#kMifUseSingleLineComposerKey", "Use Adobe &Single-line Composer (Fidelity)"},
    {"OV#0xB40#kMifConvertCrossRefsToTextKey", "Convert Imported Cross-References to &Text"},
    {"OV#0xB40#kMifUseCrossReferencesKey", "Use &Cross-References"},
    {"OV#0xB40#kMifConvertVariablesToTextKey", "Convert to Te&xt"},
    {"OV#0xB40#kMifUseVariablesKey", "Use &Variables"},
    {"OV#0xB40#kMifConvertConditionalsToTextKey", "Convert to Text"},
    {"OV#0xB40#kMifUseConditionalsKey", "Use &Conditional Text"},
    {"OV#0xB40#kMifFontStyleFormatKey", "A: ^1, W: ^2, V: ^3"},
    {"OV#0xB40#kMifAnyFontFaceKey", "(any)"},
    {"OV#0xB40#kMifDontChangeFontStyleKey", "Don't change font style"},
    {"OV#0xB40#kMifPresetNameReservedKey", "This preset name is reserved, please use another name."},
    {"OV#0xB40#kMifPresetNameUsedKey", "This preset name is already used, please use another name."},

    // Font encodings
    {"OV#0xB40#kMifRomanKey", "Roman (ANSI)"},
    {"OV#0xB40#kMifEastEuropeWinKey", "East Europe (Win)"},
    {"OV#0xB40#kMifGreekWinKey", "Greek (Win)"},
    {"OV#0xB40#kMifHebrewWinKey", "Hebrew (Win)"},
    {"OV#0xB40#kMifArabicWinKey", "Arabic (Win)"},
    {"OV#0xB40#kMifRussianWinKey", "Russian (Win)"},
    {"OV#0xB40#kMifBalticWinKey", "Baltic (Win)"},
    {"OV#0xB40#kMifTurkishWinKey", "Turkish (Win)"},
    {"OV#0xB40#kMifThaiWinKey", "Thai (Win)"},
    {"OV#0xB40#kMifEastEuropeMacKey", "East Europe (Mac)"},
    {"OV#0xB40#kMifGreekMacKey", "Greek (Mac)"},
    {"OV#0xB40#kMifHebrewMacKey", "Hebrew (Mac)"},
    {"OV#0xB40#kMifArabicMacKey", "Arabic (Mac)"},
    {"OV#0xB40#kMifCyrillicMacKey", "Cyrillic (Mac)"},
};

const size_t kMifStrings_enUSCount = sizeof kMifStrings_enUS / sizeof kMifStrings_enUS[0];
