#include "JsonDumpWriter.h"

#include <new>

#include "AtomicFileWriter.h"
#include "DataBase.h"
#include "Document.h"
#include "ErrorUtils.h"
#include "JsonValue.h"
#include "PageNumbering.h"
#include "Section.h"
#include "Spread.h"

namespace {

constexpr int64 kDumpVersion = 1;

JsonValue Ref(UID uid) { return uid == kInvalidUID ? JsonValue() : JsonValue::Integer(uid); }

JsonValue RefList(const std::vector<UID>& uids)
{
    JsonValue list = JsonValue::Array();
    for (UID uid : uids) list.Append(Ref(uid));
    return list;
}

JsonValue Rect(const PMRect& r)
{
    JsonValue rect = JsonValue::Object();
    rect.Set("left", JsonValue::Real(r.left));
    rect.Set("top", JsonValue::Real(r.top));
    rect.Set("right", JsonValue::Real(r.right));
    rect.Set("bottom", JsonValue::Real(r.bottom));
    return rect;
}

// One function per kind of object sets its fields; DumpObject names the kinds.

void SetDocumentFields(const Document& document, JsonValue& out)
{
    const DocumentPreferences& prefs = document.preferences;
    JsonValue preferences = JsonValue::Object();
    preferences.Set("pageWidth", JsonValue::Real(prefs.pageWidth));
    preferences.Set("pageHeight", JsonValue::Real(prefs.pageHeight));
    preferences.Set("wide", JsonValue::Bool(prefs.wide));
    preferences.Set("pagesPerSpread", JsonValue::Integer(prefs.pagesPerSpread));
    preferences.Set("facingPages", JsonValue::Bool(prefs.facingPages));
    preferences.Set("skipByLeading", JsonValue::Bool(prefs.skipByLeading));
    out.Set("name", JsonValue::String(document.name));
    out.Set("preferences", std::move(preferences));
    out.Set("spreads", RefList(document.spreads));
    out.Set("masterSpreads", RefList(document.masterSpreads));
    out.Set("layers", RefList(document.layers));
    out.Set("sections", RefList(document.sections));
}

void SetSpreadFields(const Spread& spread, JsonValue& out)
{
    out.Set("pages", RefList(spread.pages));
    out.Set("pageItems", RefList(spread.pageItems));
    out.Set("bindingLocation", JsonValue::Integer(spread.bindingLocation));
}

void SetMasterSpreadFields(const MasterSpread& master, JsonValue& out)
{
    SetSpreadFields(master, out);
    out.Set("prefix", JsonValue::String(master.prefix));
    out.Set("baseName", JsonValue::String(master.baseName));
    out.Set("basedOn", Ref(master.basedOn));
}

void SetPageFields(const Page& page, JsonValue& out)
{
    out.Set("spread", Ref(page.spread));
    out.Set("appliedMaster", Ref(page.appliedMaster));
    out.Set("boundsInSpread", Rect(page.boundsInSpread));
    out.Set("width", JsonValue::Real(page.width));
    out.Set("height", JsonValue::Real(page.height));
}

void SetLayerFields(const Layer& layer, JsonValue& out)
{
    out.Set("name", JsonValue::String(layer.name));
    out.Set("visible", JsonValue::Bool(layer.visible));
    out.Set("locked", JsonValue::Bool(layer.locked));
}

void SetSectionFields(const Section& section, JsonValue& out)
{
    out.Set("startPage", Ref(section.startPage));
    out.Set("continueNumbering", JsonValue::Bool(section.continueNumbering));
    out.Set("pageNumberStart", JsonValue::Integer(section.pageNumberStart));
    out.Set("numberingStyle", JsonValue::String(PageNumbering::StyleName(section.numberingStyle)));
    out.Set("marker", JsonValue::String(section.marker));
}

// Sets "kind" and the fields when `object` is a T; false when it is not.
template <class T>
bool DumpAs(const DocObject& object, const char* kind, void (*setFields)(const T&, JsonValue&), JsonValue& out)
{
    const T* typed = dynamic_cast<const T*>(&object);
    if (!typed) return false;
    out.Set("kind", JsonValue::String(kind));
    setFields(*typed, out);
    return true;
}

JsonValue DumpObject(const DocObject& object)
{
    JsonValue out = JsonValue::Object();
    out.Set("uid", JsonValue::Integer(object.GetUID()));
    // More derived kinds first: a master spread is also a spread.
    bool known = DumpAs<Document>(object, "Document", SetDocumentFields, out) ||
                 DumpAs<MasterSpread>(object, "MasterSpread", SetMasterSpreadFields, out) ||
                 DumpAs<Spread>(object, "Spread", SetSpreadFields, out) ||
                 DumpAs<Page>(object, "Page", SetPageFields, out) ||
                 DumpAs<Layer>(object, "Layer", SetLayerFields, out) ||
                 DumpAs<Section>(object, "Section", SetSectionFields, out);
    if (!known) out.Set("kind", JsonValue::String("Unknown"));
    return out;
}

} // namespace

std::string JsonDumpWriter::Dump(const DataBase& db)
{
    try {
        JsonValue root = JsonValue::Object();
        root.Set("format", JsonValue::String("tessel-document-dump"));
        root.Set("version", JsonValue::Integer(kDumpVersion));
        root.Set("document", Ref(db.GetDocument() ? db.GetDocument()->GetUID() : kInvalidUID));
        JsonValue& objects = root.Set("objects", JsonValue::Array());
        for (const auto& [uid, object] : db.GetObjects()) objects.Append(DumpObject(*object));
        return root.Serialize();
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

ErrorCode JsonDumpWriter::Write(const DataBase& db, const IDFile& out)
{
    std::string text = Dump(db);
    ErrorCode result = text.empty() ? kOutOfMemoryError : AtomicFileWriter::Write(out, text);
    if (result != kSuccess) ErrorUtils::PMSetGlobalErrorCode(result);
    return result;
}
