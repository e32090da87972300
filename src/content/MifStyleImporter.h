// MifStyleImporter: the content importer's part for styles. The FontCatalog and PgfCatalog
// become root character and paragraph styles (PgfUseNextTag/PgfNextTag link next styles), and
// the Font statements in the text, and the character formats a variable names, change the
// character format in force at the text index.
#pragma once

#include "PMString.h"
#include "Style.h"

class MifContentImporter;
class MifObject;

class MifStyleImporter {
public:
    explicit MifStyleImporter(MifContentImporter& importer) : mImporter(importer) {}

    // The "Importing styles..." phase: character styles first, paragraph formats refer to them.
    void ImportStyles();
    // Creates the style of a Font (character) or Pgf (paragraph) statement, replacing a style of
    // the same kind and name.
    void CreateStyle(const MifObject& format, StyleKind kind);
    // A Font statement in the text: its catalog format (FTag) and its own properties.
    void ChangeFont(const MifObject& mifFont);
    // Makes the catalog character format `name` the one in force at the text index.
    void ApplyCharacterStyle(const PMString& name);

private:
    void LinkNextStyles(const MifObject& pgfCatalog);

    MifContentImporter& mImporter;
};
