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
    {"OV#0xB40#kMifFMDocumentKey",
     "This file is an Adobe FrameMaker FM document, please convert it to the MIF format first. To save a document "
     "as a MIF file, open your document in FrameMaker, choose Save As and select \"Document type: Maker Interchange "
     "Format\""},
    {"OV#0xB40#kMifBookDocumentKey", "This file is an Adobe FrameMaker book document, which is not currently supported."},
    {"OV#0xB40#kMifBatchConvertMenuItemKey", "Batch Conversion..."},
    {"OV#0xB40#kMifPrefsMenuItemKey", "Tessel..."},
    {"Adobe FrameMaker Interchange Format (MIF)", "Adobe FrameMaker Interchange Format (MIF)"},
};

const size_t kMifStrings_enUSCount = sizeof kMifStrings_enUS / sizeof kMifStrings_enUS[0];
