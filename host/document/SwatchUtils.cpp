#include "SwatchUtils.h"

#include <cmath>

#include "Document.h"

namespace {

UID FindKind(const DataBase& db, SwatchKind kind)
{
    for (UID uid : db.GetDocument()->swatches)
        if (const Swatch* swatch = db.Get<Swatch>(uid); swatch && swatch->reserved && swatch->kind == kind) return uid;
    return kInvalidUID;
}

} // namespace

Swatch* SwatchUtils::AddSwatch(DataBase& db, const PMString& name, SwatchKind kind, double c, double m, double y, double k,
                               bool reserved)
{
    Swatch* swatch = db.Create<Swatch>();
    swatch->name = name;
    swatch->kind = kind;
    swatch->cyan = c;
    swatch->magenta = m;
    swatch->yellow = y;
    swatch->black = k;
    swatch->reserved = reserved;
    db.GetDocument()->swatches.push_back(swatch->GetUID());
    return swatch;
}

PMString SwatchUtils::MakeCMYKName(double c, double m, double y, double k)
{
    auto percent = [](double v) { return std::to_string(static_cast<long>(std::lround(v * 100))); };
    return PMString("C=" + percent(c) + " M=" + percent(m) + " Y=" + percent(y) + " K=" + percent(k));
}

UID SwatchUtils::GetNoneSwatch(const DataBase& db) { return FindKind(db, SwatchKind::kNone); }
UID SwatchUtils::GetPaperSwatch(const DataBase& db) { return FindKind(db, SwatchKind::kPaper); }
UID SwatchUtils::GetRegistrationSwatch(const DataBase& db) { return FindKind(db, SwatchKind::kRegistration); }

UID SwatchUtils::GetBlackSwatch(const DataBase& db)
{
    for (UID uid : db.GetDocument()->swatches)
        if (const Swatch* swatch = db.Get<Swatch>(uid); swatch && swatch->reserved && swatch->kind == SwatchKind::kProcess)
            return uid;
    return kInvalidUID;
}

UID SwatchUtils::GetDefaultSwatch(const DataBase& db) { return GetBlackSwatch(db); }

UID SwatchUtils::FindSwatch(const DataBase& db, const PMString& name)
{
    for (UID uid : db.GetDocument()->swatches)
        if (const Swatch* swatch = db.Get<Swatch>(uid); swatch && swatch->name == name) return uid;
    return kInvalidUID;
}

UID SwatchUtils::FindTint(const DataBase& db, UID base, double percent)
{
    for (UID uid : db.GetDocument()->swatches) {
        const Swatch* swatch = db.Get<Swatch>(uid);
        if (swatch && swatch->kind == SwatchKind::kTint && swatch->base == base && std::fabs(swatch->tint - percent) < 1e-8)
            return uid;
    }
    return kInvalidUID;
}

void SwatchUtils::AddDefaultSwatches(DataBase& db)
{
    AddSwatch(db, "None", SwatchKind::kNone, 0, 0, 0, 0, true);
    AddSwatch(db, "Registration", SwatchKind::kRegistration, 1, 1, 1, 1, true);
    AddSwatch(db, "Paper", SwatchKind::kPaper, 0, 0, 0, 0, true);
    AddSwatch(db, "Black", SwatchKind::kProcess, 0, 0, 0, 1, true);
    // The process primaries that a new InDesign document also offers.
    AddSwatch(db, "C=100 M=0 Y=0 K=0", SwatchKind::kProcess, 1, 0, 0, 0, false);
    AddSwatch(db, "C=0 M=100 Y=0 K=0", SwatchKind::kProcess, 0, 1, 0, 0, false);
    AddSwatch(db, "C=0 M=0 Y=100 K=0", SwatchKind::kProcess, 0, 0, 1, 0, false);
}
