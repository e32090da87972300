#include "SwatchCommands.h"

#include <algorithm>
#include <cmath>

#include "Document.h"
#include "SwatchUtils.h"

namespace {

bool InRange(double v) { return v >= 0 && v <= 1; }

} // namespace

ErrorCode CreateColorSwatchCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!TargetsDocument() || name.IsEmpty() || !InRange(cyan) || !InRange(magenta) || !InRange(yellow) ||
        !InRange(black))
        return kInvalidParameterError;
    SwatchKind kind = spot ? SwatchKind::kSpot : SwatchKind::kProcess;
    PMString unique = name;
    for (int n = 2;; ++n) {
        UID existing = SwatchUtils::FindSwatch(*db, unique);
        if (existing == kInvalidUID) break;
        const Swatch* swatch = db->Get<Swatch>(existing);
        if (swatch->kind == kind && swatch->HasValues(cyan, magenta, yellow, black)) {
            mItems = UIDList(db);
            mItems.Append(existing);
            return kSuccess;
        }
        unique = name;
        unique.Append(" ");
        unique.AppendNumber(n);
    }
    Swatch* swatch = SwatchUtils::AddSwatch(*db, unique, kind, cyan, magenta, yellow, black);
    mItems = UIDList(db);
    mItems.Append(swatch->GetUID());
    return kSuccess;
}

ErrorCode CreateTintSwatchCmd::Do()
{
    DataBase* db = GetDataBase();
    const Swatch* baseSwatch = db ? db->Get<Swatch>(base) : nullptr;
    if (!TargetsDocument() || !baseSwatch || baseSwatch->kind == SwatchKind::kNone || !std::isfinite(percent))
        return kInvalidParameterError;
    // A tint of a tint is a tint of the color beneath.
    UID root = base;
    double value = std::clamp(percent, 0.0, 100.0);
    if (baseSwatch->kind == SwatchKind::kTint) {
        value = value * baseSwatch->tint / 100;
        root = baseSwatch->base;
    }
    UID existing = SwatchUtils::FindTint(*db, root, value);
    if (existing == kInvalidUID) {
        Swatch* tint = db->Create<Swatch>();
        tint->kind = SwatchKind::kTint;
        tint->base = root;
        tint->tint = value;
        tint->name = db->Get<Swatch>(root)->name;
        char percentText[32];
        std::snprintf(percentText, sizeof percentText, " %g%%", value);
        tint->name.Append(percentText);
        db->GetDocument()->swatches.push_back(tint->GetUID());
        existing = tint->GetUID();
    }
    mItems = UIDList(db);
    mItems.Append(existing);
    return kSuccess;
}
