// MifContentImporter: the character and paragraph formats of a MIF file become styles; later
// the text flows become stories.
//
// Handles: FontCatalog (every Font becomes a root character style), PgfCatalog (every Pgf becomes
// a root paragraph style with its PgfFont and leading; PgfUseNextTag/PgfNextTag link next
// styles). Not yet: the text flows.
#pragma once

#include "IMifContentImporter.h"
#include "MifAttributeBuilder.h"
#include "MifImportState.h"
#include "Style.h"

class MifContentImporter : public IMifContentImporter {
public:
    void SetMifObject(MifObject* mifRoot) override { mMifRoot = mifRoot; }
    void SetSourceFile(const IDFile& file) override { mSourceFile = file; }
    void ImportStyles() override;
    void ImportTextFlows() override {}
    UID FindParagraphStyle(const PMString& name) const override;
    UID FindCharacterStyle(const PMString& name) const override;

    // Creates the style of a Font (character) or Pgf (paragraph) statement, replacing a style of
    // the same kind and name.
    void CreateStyle(const MifObject& format, StyleKind kind);
    // The attribute builders with this importer's services and state.
    MifAttributeBuilder GetAttributeBuilder();

private:
    void LinkNextStyles(const MifObject& pgfCatalog);

    MifObject* mMifRoot = nullptr;
    IDFile mSourceFile;
    MifImportState mImportState;
};
