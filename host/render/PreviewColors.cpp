#include "PreviewColors.h"

#include <algorithm>

#include "DataBase.h"
#include "Swatch.h"

namespace {

// Tints of tints deeper than this are taken as a loop (a real catalog has one level).
constexpr int kMaxTintDepth = 16;

double Channel(double ink, double black) { return (1 - std::clamp(ink, 0.0, 1.0)) * (1 - std::clamp(black, 0.0, 1.0)); }

} // namespace

bool PreviewColors::Resolve(UID swatch, PreviewColor& color) const
{
    double strength = 1;  // the product of the tints on the way to the base colour
    for (int depth = 0; depth <= kMaxTintDepth; ++depth) {
        const Swatch* entry = mDB.Get<Swatch>(swatch);
        if (!entry) return false;
        switch (entry->kind) {
        case SwatchKind::kNone:
            return false;
        case SwatchKind::kTint:
            strength *= std::clamp(entry->tint, 0.0, 100.0) / 100;
            swatch = entry->base;
            continue;
        case SwatchKind::kRegistration:
            color = PreviewColor{0, 0, 0};
            break;
        case SwatchKind::kPaper:
            color = PreviewColor{1, 1, 1};
            break;
        case SwatchKind::kProcess:
        case SwatchKind::kSpot:
            color = PreviewColor{Channel(entry->cyan, entry->black), Channel(entry->magenta, entry->black),
                                 Channel(entry->yellow, entry->black)};
            break;
        }
        color = Mixed(color, strength);
        return true;
    }
    return false;
}
