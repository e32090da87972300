#include "MifContentImporter.h"

#include <memory>

#include "CmdUtils.h"
#include "Document.h"
#include "IMifColorImporter.h"
#include "IMifErrorLog.h"
#include "IMifFontConverter.h"
#include "IMifImportOptions.h"
#include "IMifTextConverter.h"
#include "InterfacePtr.h"
#include "MifAssertLog.h"
#include "MifKeywords.h"
#include "MifObject.h"
#include "MifSetNextStyleCmd.h"
#include "ObjectModel.h"
#include "StyleCommands.h"
#include "StyleUtils.h"

namespace {

const PMString* String(const MifObject& object, int32 id)
{
    const MifProp* prop = object.FindProp(id);
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

} // namespace

UID MifContentImporter::FindParagraphStyle(const PMString& name) const
{
    DataBase* db = GetDataBase();
    return db ? StyleUtils::FindStyle(*db, StyleKind::kParagraph, name) : kInvalidUID;
}

UID MifContentImporter::FindCharacterStyle(const PMString& name) const
{
    DataBase* db = GetDataBase();
    return db ? StyleUtils::FindStyle(*db, StyleKind::kCharacter, name) : kInvalidUID;
}

MifAttributeBuilder MifContentImporter::GetAttributeBuilder()
{
    MifAttributeContext context;
    context.db = GetDataBase();
    context.root = mMifRoot;
    context.state = &mImportState;
    // The services live on this document's object (and the text converter beside the parser);
    // they outlive the builder, which holds them without a reference.
    InterfacePtr<IMifColorImporter> colorImporter(this, IID_IMIFCOLORIMPORTER);
    InterfacePtr<IMifFontConverter> fontConverter(this, IID_IMIFFONTCONVERTER);
    InterfacePtr<IMifTextConverter> textConverter(this, IID_IMIFTEXTCONVERTER);
    InterfacePtr<IMifErrorLog> importErrors(this, IID_IMIFERRORLOG);
    context.importErrors = importErrors.get();
    context.colorImporter = colorImporter.get();
    context.fontConverter = fontConverter.get();
    context.textConverter = textConverter.get();
    InterfacePtr<IMifImportOptions> importOptions(this, IID_IMIFIMPORTOPTIONS);
    if (importOptions) {
        const MifPresetRecord& preset = importOptions->GetPreset();
        context.leadingMode = preset.GetLeading();
        context.composerMode = preset.GetComposer();
    }
    return MifAttributeBuilder(context);
}

void MifContentImporter::ImportStyles()
{
    if (!mMifRoot) return;
    // Character styles first: paragraph formats refer to them for their numbers.
    if (const MifObject* fontCatalog = mMifRoot->GetObject(kMifFontCatalog))
        for (const MifObject& font : fontCatalog->Children(kMifFont)) CreateStyle(font, StyleKind::kCharacter);
    const MifObject* pgfCatalog = mMifRoot->GetObject(kMifPgfCatalog);
    if (!pgfCatalog) return;
    for (const MifObject& pgf : pgfCatalog->Children(kMifPgf)) CreateStyle(pgf, StyleKind::kParagraph);
    LinkNextStyles(*pgfCatalog);
}

void MifContentImporter::CreateStyle(const MifObject& format, StyleKind kind)
{
    DataBase* db = GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    bool paragraph = kind == StyleKind::kParagraph;
    const PMString* tag = String(format, paragraph ? kMifPgfTag : kMifFTag);
    if (!tag || tag->IsEmpty()) {
        // A format without a name cannot become a style.
        InterfacePtr<IMifErrorLog> importErrors(this, IID_IMIFERRORLOG);
        if (importErrors)
            importErrors->AddParseError(format.line, paragraph ? "Pgf without PgfTag, passed over" : "Font without FTag, passed over",
                                        PMString());
        return;
    }
    PMString name = *tag;
    // InDesign keeps this name for its own root style.
    if (name == PMString("[No paragraph style]")) name = "No paragraph style";

    // The last format of a name wins: an earlier style of that name goes.
    UID existing = paragraph ? FindParagraphStyle(name) : FindCharacterStyle(name);
    if (existing != kInvalidUID) {
        auto deleteStyleCmd = std::make_shared<DeleteStyleCmd>();
        deleteStyleCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
        deleteStyleCmd->uidData = existing;
        if (CmdUtils::ProcessCommand(deleteStyleCmd) != kSuccess) {
            MIF_LOG_ERROR(deleteStyleCmd);
            return;
        }
    }

    auto createStyleCmd = std::make_shared<CreateStyleCmd>(kind);
    createStyleCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
    createStyleCmd->styleName = name;
    createStyleCmd->basedOn = kInvalidUID;  // a root style: it carries every attribute itself
    AttributeBossList& textAttributes = createStyleCmd->textAttributes;
    MifAttributeBuilder builder = GetAttributeBuilder();
    if (!paragraph) {
        builder.BuildCharacterAttributes(textAttributes, format);
    } else {
        builder.BuildParagraphAttributes(textAttributes, format);
        if (const MifObject* pgfFont = format.GetObject(kMifPgfFont)) {
            builder.BuildCharacterAttributes(textAttributes, *pgfFont);
            builder.AddLeading(textAttributes, format, *pgfFont);
        }
    }
    if (CmdUtils::ProcessCommand(createStyleCmd) != kSuccess) MIF_LOG_ERROR(createStyleCmd);
}

void MifContentImporter::LinkNextStyles(const MifObject& pgfCatalog)
{
    DataBase* db = GetDataBase();
    for (const MifObject& mifPgf : pgfCatalog.Children(kMifPgf)) {
        const PMString* tag = String(mifPgf, kMifPgfTag);
        const PMString* nextTag = String(mifPgf, kMifPgfNextTag);
        if (!tag || !mifPgf.GetBool(kMifPgfUseNextTag) || !nextTag || nextTag->IsEmpty()) continue;
        UID style = FindParagraphStyle(*tag);
        UID next = FindParagraphStyle(*nextTag);
        if (style == kInvalidUID || next == kInvalidUID) continue;
        auto setNextStyleCmd = std::make_shared<MifSetNextStyleCmd>();
        setNextStyleCmd->SetItemList(UIDList(UIDRef(db, style)));
        setNextStyleCmd->uidData = next;
        if (CmdUtils::ProcessCommand(setNextStyleCmd) != kSuccess) MIF_LOG_ERROR(setNextStyleCmd);
    }
}
