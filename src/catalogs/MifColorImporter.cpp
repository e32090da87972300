#include "MifColorImporter.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "MifAssertLog.h"
#include "MifKeywords.h"
#include "MifObject.h"
#include "SwatchCommands.h"
#include "SwatchUtils.h"

namespace {

const char* const kReservedNames[] = {"Cyan", "Magenta", "Yellow", "Black", "Paper", "Registration", "None"};

bool IsReserved(const PMString& name)
{
    return std::any_of(std::begin(kReservedNames), std::end(kReservedNames), [&](const char* r) { return name == PMString(r); });
}

const PMString* StringOf(const MifObject& object, int32 id)
{
    const MifProp* prop = object.FindProp(id);
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

double Number(const MifObject& object, int32 id, double fallback)
{
    MifPropVal propVal;
    return object.GetPropVal(id, propVal) ? propVal.number : fallback;
}

} // namespace

template <class Cmd>
UID MifColorImporter::ProcessSwatchCommand(const std::shared_ptr<Cmd>& cmd)
{
    DataBase* db = GetDataBase();
    cmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
    if (CmdUtils::ProcessCommand(cmd) != kSuccess || cmd->GetItemList().IsEmpty()) return kInvalidUID;
    return cmd->GetItemList().At(0);
}

void MifColorImporter::Import()
{
    if (!mMifRoot) return;
    DataBase* db = GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    FindCurrentView();
    mProcessColors.clear();
    if (const MifObject* document = mMifRoot->GetObject(kMifDocument))
        for (const MifProp* prop : document->props)
            if (prop->id == kMifDPrintProcessColor && prop->value.rawString) mProcessColors.push_back(*prop->value.rawString);

    const MifObject* catalog = mMifRoot->GetObject(kMifColorCatalog);
    if (!catalog) return;
    // Colors first, then tints, so that every base exists whatever the order in the file.
    for (const MifProp* prop : catalog->props)
        if (prop->id == kMifColor && prop->type == kMifTypeObject && !prop->value.object->FindProp(kMifColorTintPercentage))
            CreateColor(*prop->value.object);
    for (const MifProp* prop : catalog->props)
        if (prop->id == kMifColor && prop->type == kMifTypeObject && prop->value.object->FindProp(kMifColorTintPercentage))
            CreateTint(*prop->value.object);
}

void MifColorImporter::FindCurrentView()
{
    mCurrentView = nullptr;
    const MifObject* document = mMifRoot->GetObject(kMifDocument);
    const MifObject* views = mMifRoot->GetObject(kMifViews);
    MifPropVal current;
    if (!document || !views || !document->GetPropVal(kMifDCurrentView, current)) return;
    for (const MifProp* prop : views->props) {
        MifPropVal number;
        if (prop->id == kMifView && prop->type == kMifTypeObject && prop->value.object->GetPropVal(kMifViewNumber, number) &&
            number.id == current.id) {
            mCurrentView = prop->value.object;
            return;
        }
    }
}

void MifColorImporter::CreateColor(const MifObject& color)
{
    const PMString* tag = StringOf(color, kMifColorTag);
    if (!tag) return;
    DataBase* db = GetDataBase();
    PMString name = *tag;
    double c = Number(color, kMifColorCyan, 0) / 100, m = Number(color, kMifColorMagenta, 0) / 100;
    double y = Number(color, kMifColorYellow, 0) / 100, k = Number(color, kMifColorBlack, 0) / 100;
    // InDesign's own names are not free: a MIF color of that name is the document's swatch of the
    // same values, or a new swatch named after its values.
    if (IsReserved(name)) {
        for (UID uid : db->GetDocument()->swatches) {
            const Swatch* swatch = db->Get<Swatch>(uid);
            if (swatch && swatch->IsCMYK() && swatch->HasValues(c, m, y, k)) {
                mColorMap[*tag] = uid;
                return;
            }
        }
        name = SwatchUtils::MakeCMYKName(c, m, y, k);
    }
    auto createSwatchCmd = std::make_shared<CreateColorSwatchCmd>();
    createSwatchCmd->name = name;
    createSwatchCmd->spot = std::find(mProcessColors.begin(), mProcessColors.end(), *tag) == mProcessColors.end();
    // Components outside 0..100 % are clamped: a swatch cannot hold them.
    createSwatchCmd->cyan = std::clamp(c, 0.0, 1.0);
    createSwatchCmd->magenta = std::clamp(m, 0.0, 1.0);
    createSwatchCmd->yellow = std::clamp(y, 0.0, 1.0);
    createSwatchCmd->black = std::clamp(k, 0.0, 1.0);
    UID swatch = ProcessSwatchCommand(createSwatchCmd);
    if (swatch == kInvalidUID) {
        MIF_LOG_ERROR(createSwatchCmd);
        return;
    }
    mColorMap[*tag] = swatch;
}

void MifColorImporter::CreateTint(const MifObject& color)
{
    const PMString* tag = StringOf(color, kMifColorTag);
    const PMString* baseName = StringOf(color, kMifColorTintBaseColor);
    if (!tag || !baseName) return;
    double percent = Number(color, kMifColorTintPercentage, 100);
    if (percent < -1e-8) percent = 0;
    if (percent > 100.00000001) percent = 100;
    DataBase* db = GetDataBase();
    UID base = GetColorUID(*baseName);
    if (base == kInvalidUID) base = SwatchUtils::GetDefaultSwatch(*db);
    if (base == kInvalidUID) return;
    UID tint = GetTintUID(UIDRef(db, base), percent);
    if (tint != kInvalidUID) mColorMap[*tag] = tint;
}

UID MifColorImporter::GetColorUID(const PMString& name)
{
    UID uid = mColorMap[name];  // an unknown name is entered as kInvalidUID
    if (mCurrentView) {
        for (const MifProp* prop : mCurrentView->props) {
            if (prop->id == kMifViewInvisible && prop->value.rawString && *prop->value.rawString == name) {
                DataBase* db = GetDataBase();
                return db ? SwatchUtils::GetNoneSwatch(*db) : kInvalidUID;
            }
        }
    }
    return uid;
}

UID MifColorImporter::GetTintUID(const UIDRef& baseSwatch, double percent)
{
    DataBase* db = GetDataBase();
    if (!db || baseSwatch.GetDataBase() != db) return kInvalidUID;
    UID existing = SwatchUtils::FindTint(*db, baseSwatch.GetUID(), percent);
    if (existing != kInvalidUID) return existing;
    auto createTintCmd = std::make_shared<CreateTintSwatchCmd>();
    createTintCmd->base = baseSwatch.GetUID();
    createTintCmd->percent = percent;
    UID tint = ProcessSwatchCommand(createTintCmd);
    if (tint == kInvalidUID) MIF_LOG_ERROR(createTintCmd);
    return tint;
}
