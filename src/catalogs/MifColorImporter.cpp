#include "catalogs/MifColorImporter.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "InterfacePtr.h"
#include "SwatchCommands.h"
#include "SwatchUtils.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifValueLimits.h"

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

// A percentage of the statement within 0..100 %, as a fraction; `fallback` when absent.
double Fraction(const MifObject& object, int32 id, double fallback, MifValueLimits& limits)
{
    const MifProp* prop = object.FindProp(id);
    return (prop ? limits.Clamp(prop->value.number, MifValueLimits::kPercent, *prop) : fallback) / 100;
}

// The colors every FrameMaker document has, whether or not its catalog lists them, with
// FrameMaker's own values (cyan, magenta, yellow, black in percent). MIF that other programs
// write often has no catalog and names these alone.
struct StandardColor {
    const char* name;
    double c, m, y, k;
};
constexpr StandardColor kStandardColors[] = {
    {"Black", 0, 0, 0, 100},       {"White", 0, 0, 0, 0},           {"Red", 0, 100, 100, 0},
    {"Green", 100, 0, 100, 0},     {"Blue", 100, 100, 0, 0},        {"Cyan", 100, 0, 0, 0},
    {"Magenta", 0, 100, 0, 0},     {"Yellow", 0, 0, 100, 0},        {"Dark Grey", 0, 0, 0, 60},
    {"Pale Green", 26, 0, 60, 0},  {"Forest Green", 41, 0, 41, 46}, {"Royal Blue", 93, 46, 0, 0},
    {"Mauve", 40, 60, 0, 0},       {"Light Salmon", 0, 40, 60, 0},  {"Olive", 0, 0, 40, 60},
    {"Salmon", 0, 57, 76, 0},
};

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
    // The log is a sibling on the document's object: held without a reference.
    InterfacePtr<IMifErrorLog> importErrors(this, IID_IMIFERRORLOG);
    if (!importErrors) MIF_LOG_NIL(importErrors);
    mImportErrors = importErrors.get();
    FindCurrentView();
    mProcessColors.clear();
    if (const MifObject* document = mMifRoot->GetObject(kMifDocument))
        for (const MifProp* prop : document->props)
            if (prop->id == kMifDPrintProcessColor && MifIsStringType(prop->type) && prop->value.rawString) mProcessColors.push_back(*prop->value.rawString);

    const MifObject* catalog = mMifRoot->GetObject(kMifColorCatalog);
    if (!catalog) return;
    // Colors first, then tints, so that every base exists whatever the order in the file.
    for (const MifObject& color : catalog->Children(kMifColor))
        if (!color.FindProp(kMifColorTintPercentage)) CreateColor(color);
    for (const MifObject& color : catalog->Children(kMifColor))
        if (color.FindProp(kMifColorTintPercentage)) CreateTint(color);
}

void MifColorImporter::FindCurrentView()
{
    mCurrentView = nullptr;
    const MifObject* document = mMifRoot->GetObject(kMifDocument);
    const MifObject* views = mMifRoot->GetObject(kMifViews);
    MifPropVal current;
    if (!document || !views || !document->GetPropVal(kMifDCurrentView, current)) return;
    for (const MifObject& view : views->Children(kMifView)) {
        MifPropVal number;
        if (view.GetPropVal(kMifViewNumber, number) && number.id == current.id) {
            mCurrentView = &view;
            return;
        }
    }
}

void MifColorImporter::CreateColor(const MifObject& color)
{
    const PMString* tag = StringOf(color, kMifColorTag);
    if (!tag) return;
    // Components outside 0..100 % are clamped: a swatch cannot hold them.
    MifValueLimits limits(mImportErrors);
    double c = Fraction(color, kMifColorCyan, 0, limits), m = Fraction(color, kMifColorMagenta, 0, limits);
    double y = Fraction(color, kMifColorYellow, 0, limits), k = Fraction(color, kMifColorBlack, 0, limits);
    CreateColor(*tag, c, m, y, k);
}

UID MifColorImporter::CreateColor(const PMString& tag, double c, double m, double y, double k)
{
    DataBase* db = GetDataBase();
    PMString name = tag;
    // InDesign's own names are not free: a MIF color of that name is the document's swatch of the
    // same values, or a new swatch named after its values.
    if (IsReserved(name)) {
        for (UID uid : db->GetDocument()->swatches) {
            const Swatch* swatch = db->Get<Swatch>(uid);
            if (swatch && swatch->IsCMYK() && swatch->HasValues(c, m, y, k)) {
                mColorMap[tag] = uid;
                return uid;
            }
        }
        name = SwatchUtils::MakeCMYKName(c, m, y, k);
    }
    auto createSwatchCmd = std::make_shared<CreateColorSwatchCmd>();
    createSwatchCmd->name = name;
    createSwatchCmd->spot = std::find(mProcessColors.begin(), mProcessColors.end(), tag) == mProcessColors.end();
    createSwatchCmd->cyan = c;
    createSwatchCmd->magenta = m;
    createSwatchCmd->yellow = y;
    createSwatchCmd->black = k;
    UID swatch = ProcessSwatchCommand(createSwatchCmd);
    if (swatch == kInvalidUID) {
        MIF_LOG_ERROR(createSwatchCmd);
        return kInvalidUID;
    }
    mColorMap[tag] = swatch;
    return swatch;
}

void MifColorImporter::CreateTint(const MifObject& color)
{
    const PMString* tag = StringOf(color, kMifColorTag);
    const PMString* baseName = StringOf(color, kMifColorTintBaseColor);
    if (!tag || !baseName) return;
    MifValueLimits limits(mImportErrors);
    double percent = Fraction(color, kMifColorTintPercentage, 100, limits) * 100;
    DataBase* db = GetDataBase();
    UID base = GetColorUID(*baseName);
    if (base == kInvalidUID) {
        // A tint of a color the catalog lacks is kept, as a tint of the default swatch.
        base = SwatchUtils::GetDefaultSwatch(*db);
        if (mImportErrors && base != kInvalidUID)
            mImportErrors->AddParseError(color.FindProp(kMifColorTintBaseColor)->line,
                                         "ColorTintBaseColor names no color of the catalog, the tint is based on Black", *baseName);
    }
    if (base == kInvalidUID) return;
    UID tint = GetTintUID(UIDRef(db, base), percent);
    if (tint != kInvalidUID) mColorMap[*tag] = tint;
}

UID MifColorImporter::GetColorUID(const PMString& name)
{
    UID uid = mColorMap[name];  // an unknown name is entered as kInvalidUID
    // A standard color the catalog does not list is made when it is first asked for, as
    // FrameMaker defines it.
    if (uid == kInvalidUID && GetDataBase())
        for (const StandardColor& standard : kStandardColors)
            if (name == PMString(standard.name) && !mTriedStandard.count(name)) {
                mTriedStandard.insert(name);
                uid = CreateColor(name, standard.c / 100, standard.m / 100, standard.y / 100, standard.k / 100);
                break;
            }
    if (mCurrentView) {
        for (const MifProp* prop : mCurrentView->props) {
            if (prop->id == kMifViewInvisible && MifIsStringType(prop->type) && prop->value.rawString && *prop->value.rawString == name) {
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
