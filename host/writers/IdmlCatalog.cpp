#include "IdmlCatalog.h"

#include <algorithm>

#include "DataBase.h"
#include "Document.h"
#include "IdmlIds.h"
#include "IdmlXml.h"
#include "NumberFormatter.h"
#include "Style.h"
#include "Swatch.h"
#include "SwatchUtils.h"

namespace {

double Percent(double value) { return std::clamp(value, 0.0, 100.0); }

// A name as the package writes it: what XML can hold, on one line.
std::string CleanName(const PMString& name)
{
    std::string clean = IdmlXml::CleanText(name);
    std::replace_if(clean.begin(), clean.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return clean;
}

// The fixed id a swatch of this kind takes; null for colors and tints.
const char* FixedSelf(const Swatch& swatch)
{
    switch (swatch.kind) {
    case SwatchKind::kNone: return IdmlIds::kSwatchNone;
    case SwatchKind::kPaper: return IdmlIds::kColorPaper;
    case SwatchKind::kRegistration: return IdmlIds::kColorRegistration;
    case SwatchKind::kProcess: return swatch.reserved ? IdmlIds::kColorBlack : nullptr;
    case SwatchKind::kSpot:
    case SwatchKind::kTint: return nullptr;
    }
    return nullptr;
}

struct TintBase {
    const Swatch* color = nullptr;  // null when the chain ends nowhere or loops
    double percent = 100;
};

// Follows a tint down to the swatch it finally tints, multiplying the percentages on the way.
// A loop of tints tints nothing; the tint keeps its own percentage.
TintBase ResolveTint(const DataBase& db, const Swatch& tint)
{
    TintBase base{db.Get<Swatch>(tint.base), Percent(tint.tint)};
    std::set<const Swatch*> seen = {&tint};
    while (base.color && base.color->kind == SwatchKind::kTint) {
        if (!seen.insert(base.color).second) return TintBase{nullptr, Percent(tint.tint)};
        base.percent *= Percent(base.color->tint) / 100;
        base.color = db.Get<Swatch>(base.color->base);
    }
    return base;
}

} // namespace

IdmlCatalog::IdmlCatalog(const DataBase& db)
{
    for (const char* self : {IdmlIds::kSwatchNone, IdmlIds::kColorPaper, IdmlIds::kColorBlack, IdmlIds::kColorRegistration,
                             IdmlIds::kNoParagraphStyle, IdmlIds::kBasicParagraphStyle, IdmlIds::kNoCharacterStyle,
                             IdmlIds::kDefaultNumberingList})
        mSelfs.insert(self);
    if (!db.GetDocument()) return;
    AddSwatches(db);
    AddTints(db);  // after the colors, whose names and ids tints take
    AddStyles(db);
    AddLists(db);
}

std::string IdmlCatalog::EscapeName(const std::string& name)
{
    std::string escaped;
    for (char c : name) {
        if (c == '%')
            escaped += "%25";
        else if (c == ':')
            escaped += "%3a";
        else
            escaped += c;
    }
    return escaped;
}

std::string IdmlCatalog::Lookup(const std::map<UID, std::string>& refs, UID uid)
{
    auto it = refs.find(uid);
    return it == refs.end() ? std::string() : it->second;
}

IdmlCatalog::Entry IdmlCatalog::Claim(UID uid, const char* kind, const PMString& wanted, const char* emptyName,
                                      std::set<std::string>& names, bool escape)
{
    std::string base = CleanName(wanted);
    int number = 1;
    bool unnamed = base.empty();
    if (unnamed) base = emptyName;
    std::string name = unnamed ? base + " 1" : base;
    std::string prefix = std::string(kind) + "/";
    auto self = [&](const std::string& n) { return prefix + (escape ? EscapeName(n) : n); };
    while (names.count(name) || mSelfs.count(self(name))) name = base + " " + std::to_string(++number);
    names.insert(name);
    Entry entry{uid, self(name), name};
    mSelfs.insert(entry.self);
    return entry;
}

void IdmlCatalog::AddSwatches(const DataBase& db)
{
    // The fixed swatches' names, and the process inks' (a spot color's ink is named like it).
    std::set<std::string> names = {"None", "Paper", "Black", "Registration", "$ID/Process Cyan", "$ID/Process Magenta",
                                   "$ID/Process Yellow", "$ID/Process Black"};
    for (UID uid : db.GetDocument()->swatches) {
        const Swatch* swatch = db.Get<Swatch>(uid);
        if (!swatch || mSwatchRefs.count(uid) || swatch->kind == SwatchKind::kTint) continue;
        SwatchEntry entry;
        entry.uid = uid;
        entry.color = swatch;
        if (const char* fixed = FixedSelf(*swatch)) {
            entry.self = fixed;
            entry.name = entry.self.substr(entry.self.find('/') + 1);
        } else {
            // A color without a name is called by its values, as the document names new ones.
            PMString wanted = swatch->name.IsEmpty()
                                  ? SwatchUtils::MakeCMYKName(swatch->cyan, swatch->magenta, swatch->yellow, swatch->black)
                                  : swatch->name;
            Entry claimed = Claim(uid, "Color", wanted, "Color", names, false);
            entry.self = claimed.self;
            entry.name = claimed.name;
            entry.element = SwatchElement::kColor;
        }
        mSwatchRefs[uid] = entry.self;
        mSwatches.push_back(entry);
    }
}

void IdmlCatalog::AddTints(const DataBase& db)
{
    std::set<std::string> names;
    // Tints go where the document lists them, among the colors.
    std::vector<SwatchEntry> ordered;
    size_t next = 0;
    for (UID uid : db.GetDocument()->swatches) {
        const Swatch* swatch = db.Get<Swatch>(uid);
        if (!swatch) continue;
        if (swatch->kind != SwatchKind::kTint) {
            if (next < mSwatches.size() && mSwatches[next].uid == uid) ordered.push_back(mSwatches[next++]);
            continue;
        }
        if (mSwatchRefs.count(uid)) continue;
        TintBase base = ResolveTint(db, *swatch);
        std::string baseSelf = base.color ? SwatchRef(base.color->GetUID()) : std::string();
        SwatchEntry entry;
        entry.uid = uid;
        if (baseSelf == IdmlIds::kSwatchNone || baseSelf == IdmlIds::kColorPaper) {
            entry.self = baseSelf;  // a tint of nothing, or of white, is that
            entry.name = baseSelf.substr(baseSelf.find('/') + 1);
        } else {
            if (baseSelf.empty()) baseSelf = IdmlIds::kColorBlack;
            auto baseEntry = std::find_if(mSwatches.begin(), mSwatches.end(), [&](const SwatchEntry& e) { return e.self == baseSelf; });
            std::string baseName = baseEntry != mSwatches.end() ? baseEntry->name : "Black";
            PMString wanted(baseName + " " + NumberFormatter::FormatReal(base.percent) + "%");
            Entry claimed = Claim(uid, "Tint", wanted, "Tint", names, false);
            entry.self = claimed.self;
            entry.name = claimed.name;
            entry.element = SwatchElement::kTint;
            entry.color = baseEntry != mSwatches.end() ? baseEntry->color : nullptr;
            entry.baseSelf = baseSelf;
            entry.tint = base.percent;
        }
        mSwatchRefs[uid] = entry.self;
        ordered.push_back(entry);
    }
    mSwatches = std::move(ordered);
}

void IdmlCatalog::AddStyles(const DataBase& db)
{
    std::set<std::string> paragraphNames = {"[No paragraph style]", "[Basic Paragraph]"};
    std::set<std::string> characterNames = {"[No character style]"};
    bool haveNone = false, haveBasic = false, haveNoCharacter = false;
    auto add = [&](const std::vector<UID>& uids, StyleKind kind) {
        bool paragraph = kind == StyleKind::kParagraph;
        for (UID uid : uids) {
            const Style* style = db.Get<Style>(uid);
            auto& refs = paragraph ? mParagraphStyleRefs : mCharacterStyleRefs;
            if (!style || style->kind != kind || refs.count(uid)) continue;
            Entry entry;
            // The document's reserved styles and "[Basic Paragraph]" are InDesign's root styles.
            if (paragraph && style->reserved && !haveNone) {
                haveNone = true;
                entry = Entry{uid, IdmlIds::kNoParagraphStyle, "$ID/[No paragraph style]"};
            } else if (paragraph && !style->reserved && style->name == PMString("[Basic Paragraph]") && !haveBasic) {
                haveBasic = true;
                entry = Entry{uid, IdmlIds::kBasicParagraphStyle, "$ID/NormalParagraphStyle"};
            } else if (!paragraph && style->reserved && !haveNoCharacter) {
                haveNoCharacter = true;
                entry = Entry{uid, IdmlIds::kNoCharacterStyle, "$ID/[No character style]"};
            } else if (paragraph) {
                entry = Claim(uid, "ParagraphStyle", style->name, "Paragraph Style", paragraphNames, true);
            } else {
                entry = Claim(uid, "CharacterStyle", style->name, "Character Style", characterNames, true);
            }
            refs[uid] = entry.self;
            (paragraph ? mParagraphStyles : mCharacterStyles).push_back(entry);
        }
    };
    add(db.GetDocument()->paragraphStyles, StyleKind::kParagraph);
    add(db.GetDocument()->characterStyles, StyleKind::kCharacter);
}

void IdmlCatalog::AddLists(const DataBase& db)
{
    std::set<std::string> names = {"[Default]"};
    bool haveDefault = false;
    for (UID uid : db.GetDocument()->lists) {
        const NumberingList* list = db.Get<NumberingList>(uid);
        if (!list || mListRefs.count(uid)) continue;
        Entry entry;
        if (list->reserved && !haveDefault) {
            haveDefault = true;
            entry = Entry{uid, IdmlIds::kDefaultNumberingList, "$ID/[Default]"};
        } else {
            entry = Claim(uid, "NumberingList", list->name, "List", names, true);
        }
        mListRefs[uid] = entry.self;
        mLists.push_back(entry);
    }
}
