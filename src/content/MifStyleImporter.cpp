#include "content/MifStyleImporter.h"

#include <memory>

#include "DataBase.h"
#include "Document.h"
#include "InterfacePtr.h"
#include "StyleCommands.h"
#include "StyleUtils.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "content/MifContentImporter.h"
#include "content/MifSetNextStyleCmd.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

void MifStyleImporter::ImportStyles()
{
    const MifObject* root = mImporter.Root();
    if (!root) return;
    // Character styles first: paragraph formats refer to them for their numbers.
    if (const MifObject* fontCatalog = root->GetObject(kMifFontCatalog))
        for (const MifObject& font : fontCatalog->Children(kMifFont)) CreateStyle(font, StyleKind::kCharacter);
    const MifObject* pgfCatalog = root->GetObject(kMifPgfCatalog);
    if (!pgfCatalog) return;
    for (const MifObject& pgf : pgfCatalog->Children(kMifPgf)) CreateStyle(pgf, StyleKind::kParagraph);
    LinkNextStyles(*pgfCatalog);
}

void MifStyleImporter::CreateStyle(const MifObject& format, StyleKind kind)
{
    DataBase* db = mImporter.GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    bool paragraph = kind == StyleKind::kParagraph;
    const PMString* tag = format.GetString(paragraph ? kMifPgfTag : kMifFTag);
    if (!tag || tag->IsEmpty()) {
        // A format without a name cannot become a style.
        mImporter.Report({format.line, paragraph ? "Pgf without PgfTag, passed over" : "Font without FTag, passed over", PMString()});
        return;
    }
    PMString name = paragraph ? MifContentImporter::ParagraphStyleName(*tag) : *tag;

    // The last format of a name wins: an earlier style of that name goes.
    UID existing = paragraph ? mImporter.FindParagraphStyle(name) : mImporter.FindCharacterStyle(name);
    if (existing != kInvalidUID) {
        auto deleteStyleCmd = std::make_shared<DeleteStyleCmd>();
        deleteStyleCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
        deleteStyleCmd->uidData = existing;
        if (!MIF_RUN_COMMAND(deleteStyleCmd)) {
            return;
        }
    }

    auto createStyleCmd = std::make_shared<CreateStyleCmd>(kind);
    createStyleCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
    createStyleCmd->styleName = name;
    createStyleCmd->basedOn = kInvalidUID;  // a root style: it carries every attribute itself
    AttributeBossList& textAttributes = createStyleCmd->textAttributes;
    MifAttributeBuilder builder = mImporter.GetAttributeBuilder();
    if (!paragraph) {
        builder.BuildCharacterAttributes(textAttributes, format);
    } else {
        builder.BuildParagraphAttributes(textAttributes, format);
        if (const MifObject* pgfFont = format.GetObject(kMifPgfFont)) {
            builder.BuildCharacterAttributes(textAttributes, *pgfFont);
            builder.AddLeading(textAttributes, format, *pgfFont);
        }
    }
    MIF_RUN_COMMAND(createStyleCmd);
}

void MifStyleImporter::LinkNextStyles(const MifObject& pgfCatalog)
{
    DataBase* db = mImporter.GetDataBase();
    for (const MifObject& mifPgf : pgfCatalog.Children(kMifPgf)) {
        const PMString* tag = mifPgf.GetString(kMifPgfTag);
        const PMString* nextTag = mifPgf.GetString(kMifPgfNextTag);
        if (!tag || !mifPgf.GetBool(kMifPgfUseNextTag) || !nextTag || nextTag->IsEmpty()) continue;
        UID style = mImporter.FindParagraphStyle(*tag);
        UID next = mImporter.FindParagraphStyle(*nextTag);
        if (style == kInvalidUID || next == kInvalidUID) continue;
        auto setNextStyleCmd = std::make_shared<MifSetNextStyleCmd>();
        setNextStyleCmd->uidData = next;
        MIF_RUN_COMMAND(setNextStyleCmd, UIDList(UIDRef(db, style)));
    }
}

void MifStyleImporter::ChangeFont(const MifObject& mifFont)
{
    MifImportState& state = mImporter.State();
    MifAttributeBuilder builder = mImporter.GetAttributeBuilder();
    if (const MifProp* tagProp = mifFont.FindProp(kMifFTag)) {
        const PMString* tag = MifContentImporter::StringOf(tagProp);
        UID style = tag && !tag->IsEmpty() ? mImporter.FindCharacterStyle(*tag) : kInvalidUID;
        if (style != kInvalidUID) {
            mImporter.ApplyStyleAtTextIndex(style);
            if (const MifObject* catalogFont = mImporter.CatalogFont(*tag)) {
                state.textFont.Read(*catalogFont);
                builder.BuildCharacterAttributes(state.characterOverrides, *catalogFont);
            }
        } else {
            // No such format (an empty tag is how MIF returns to the paragraph's font).
            state.characterOverrides = state.paragraphCharacterAttributes;
            state.textFont.Reset();
            DataBase* db = mImporter.GetDataBase();
            UID root = db ? StyleUtils::FindStyle(*db, StyleKind::kCharacter, "[No character style]") : kInvalidUID;
            if (root != kInvalidUID) mImporter.ApplyStyleAtTextIndex(root);
        }
    }
    state.textFont.Read(mifFont);
    builder.BuildCharacterAttributes(state.characterOverrides, mifFont);
    mImporter.ApplyAttributesAtTextIndex(state.characterOverrides, state.textIndex);
}

void MifStyleImporter::ApplyCharacterStyle(const PMString& name)
{
    MifImportState& state = mImporter.State();
    UID style = mImporter.FindCharacterStyle(name);
    if (style != kInvalidUID) mImporter.ApplyStyleAtTextIndex(style);
    mImporter.IndexCatalogs();
    const MifObject* catalogFont = mImporter.CatalogFont(name);
    if (!catalogFont) return;
    state.textFont = state.paragraphFont;
    state.textFont.Read(*catalogFont);
    state.characterOverrides = state.paragraphCharacterAttributes;
    mImporter.GetAttributeBuilder().BuildCharacterAttributes(state.characterOverrides, *catalogFont);
    mImporter.ApplyAttributesAtTextIndex(state.characterOverrides, state.textIndex);
}
