#include "StyleUtils.h"

#include <algorithm>

#include "Document.h"

UID StyleUtils::FindStyle(const DataBase& db, StyleKind kind, const PMString& name)
{
    const Document* document = db.GetDocument();
    const auto& styles = kind == StyleKind::kParagraph ? document->paragraphStyles : document->characterStyles;
    for (UID uid : styles)
        if (const Style* style = db.Get<Style>(uid); style && style->name == name) return uid;
    return kInvalidUID;
}

UID StyleUtils::FindList(const DataBase& db, const PMString& name)
{
    for (UID uid : db.GetDocument()->lists)
        if (const NumberingList* list = db.Get<NumberingList>(uid); list && list->name == name) return uid;
    return kInvalidUID;
}

UID StyleUtils::GetDefaultList(const DataBase& db)
{
    for (UID uid : db.GetDocument()->lists)
        if (const NumberingList* list = db.Get<NumberingList>(uid); list && list->reserved) return uid;
    return kInvalidUID;
}

void StyleUtils::AddDefaultStyles(DataBase& db)
{
    Document* document = db.GetDocument();
    auto add = [&](StyleKind kind, const char* name, bool reserved, UID basedOn) {
        Style* style = db.Create<Style>();
        style->kind = kind;
        style->name = name;
        style->reserved = reserved;
        style->basedOn = basedOn;
        (kind == StyleKind::kParagraph ? document->paragraphStyles : document->characterStyles).push_back(style->GetUID());
        return style->GetUID();
    };
    UID noParagraphStyle = add(StyleKind::kParagraph, "[No paragraph style]", true, kInvalidUID);
    add(StyleKind::kParagraph, "[Basic Paragraph]", false, noParagraphStyle);
    add(StyleKind::kCharacter, "[No character style]", true, kInvalidUID);
    NumberingList* list = db.Create<NumberingList>();
    list->name = "[Default]";
    list->reserved = true;
    document->lists.push_back(list->GetUID());
}

const AttributeValue* StyleUtils::GetInheritedAttribute(const DataBase& db, UID uid, TextAttribute kind)
{
    // A chain longer than the database has objects must pass some style twice: it loops.
    size_t limit = db.GetObjects().size();
    for (const Style* style = db.Get<Style>(uid); style && limit-- > 0; style = db.Get<Style>(style->basedOn))
        if (const AttributeValue* value = style->attributes.QueryAttribute(kind)) return value;
    return nullptr;
}

UID DocFontMgr::GetFontFamilyUID(DataBase& db, const PMString& name)
{
    if (name.IsEmpty()) return kInvalidUID;
    Document* document = db.GetDocument();
    for (UID uid : document->fontFamilies)
        if (const FontFamily* family = db.Get<FontFamily>(uid); family && family->name == name) return uid;
    FontFamily* family = db.Create<FontFamily>();
    family->name = name;
    family->FindInstalledFaces();
    document->fontFamilies.push_back(family->GetUID());
    return family->GetUID();
}

void DocFontMgr::AddStyle(DataBase& db, UID familyUID, const PMString& style)
{
    FontFamily* family = db.Get<FontFamily>(familyUID);
    if (!family || style.IsEmpty()) return;
    if (std::find(family->styles.begin(), family->styles.end(), style) == family->styles.end()) family->styles.push_back(style);
}
