#include "FontReport.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "DataBase.h"
#include "Document.h"
#include "FontCache.h"
#include "Story.h"
#include "Style.h"
#include "TextComposer.h"

namespace {

// How many characters of a story are read at a time.
constexpr int32 kSlice = 1 << 16;

void AddOnce(std::vector<std::string>& list, const std::string& name)
{
    if (!name.empty() && std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

std::string Utf8(char32_t c)
{
    std::u16string units;
    if (c >= 0x10000) {
        units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
        units.push_back(static_cast<char16_t>(c));
    }
    return PMString(units).GetUTF8String();
}

} // namespace

std::vector<std::string> FontReport::StandIns(const DataBase& db)
{
    std::vector<std::string> lines;
    FontCache& fonts = TextComposer::Get().GetFontCache();
    for (UID uid : db.GetDocument()->fontFamilies) {
        const FontFamily* family = db.Get<FontFamily>(uid);
        if (!family || family->name.IsEmpty()) continue;
        std::vector<PMString> styles = family->styles;
        if (styles.empty()) styles.push_back(PMString("Regular"));
        // Each style of the family as the composer asked for it.
        std::vector<std::string> served, forCharacters;
        bool metricCompatible = true;
        for (const PMString& style : styles) {
            const FontFaceEntry* face = fonts.GetFace(family->name, style);
            AddOnce(served, face->servedFamily.IsEmpty() ? std::string("no font at all") : face->servedFamily.GetUTF8String());
            metricCompatible = metricCompatible && !face->fallback;
            for (const FontFaceEntry* other : fonts.GetCharacterFallbacks(face)) AddOnce(forCharacters, other->servedFamily.GetUTF8String());
        }
        std::string line = family->name.GetUTF8String() + ": ";
        if (!family->installed) {
            line += Joined(served);
            line += metricCompatible ? " (metric-compatible)" : " (fontconfig's fallback: other widths, so lines break elsewhere)";
            if (!forCharacters.empty()) line += "; " + Joined(forCharacters) + " for the characters " + Joined(served) + " lacks";
        } else if (!forCharacters.empty()) {
            line += Joined(forCharacters) + " for the characters it lacks";
        } else {
            continue;  // set in itself
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> FontReport::UndrawableCharacters(const DataBase& db, size_t limit)
{
    FontCache& fonts = TextComposer::Get().GetFontCache();
    std::vector<char32_t> found;
    std::set<char32_t> seen;
    for (UID uid : db.GetDocument()->stories) {
        const Story* story = db.Get<Story>(uid);
        if (!story) continue;
        // In slices, so that a long story is never copied whole; a slice ends before a high
        // surrogate so that a pair is read in one.
        const TextModel& model = story->textModel;
        const int32 total = model.TotalLength();
        for (int32 from = 0; from < total;) {
            int32 length = std::min<int32>(kSlice, total - from);
            std::u16string text = model.GetText(from, length);
            if (from + length < total && !text.empty() && text.back() >= 0xD800 && text.back() < 0xDC00) {
                text.pop_back();
                --length;
            }
            from += std::max<int32>(length, 1);
            for (size_t i = 0; i < text.size(); ++i) {
                char32_t c = text[i];
                if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
                    c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
                // The story's own marks (returns, anchors, page numbers) are controls: never drawn.
                if (c < 0x20 || (c >= 0xD800 && c < 0xE000) || fonts.CanDraw(c) || !seen.insert(c).second) continue;
                found.push_back(c);
            }
        }
    }
    std::vector<std::string> lines;
    for (size_t i = 0; i < found.size() && i < limit; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X ", static_cast<unsigned>(found[i]));
        lines.push_back(code + Utf8(found[i]));
    }
    if (found.size() > limit) lines.push_back("and " + std::to_string(found.size() - limit) + " more");
    return lines;
}
