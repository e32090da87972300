#include "VariableText.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>

#include "CrossReference.h"
#include "Document.h"
#include "PageItem.h"
#include "PageNumbering.h"
#include "Spread.h"
#include "Story.h"
#include "Style.h"

namespace {

std::string Padded(int value, size_t width)
{
    char digits[16];
    int length = std::snprintf(digits, sizeof digits, "%d", value);
    std::string text(digits, static_cast<size_t>(std::max(length, 0)));
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
}

std::string Strftime(const char* format, const std::tm& now)
{
    char buffer[64];
    size_t size = std::strftime(buffer, sizeof buffer, format, &now);
    return std::string(buffer, size);
}

// One run of a repeated pattern letter ("MMMM") at `now`; nothing for a letter that is no token.
std::optional<std::string> FormatToken(char letter, size_t count, const std::tm& now)
{
    const int hour12 = now.tm_hour % 12 == 0 ? 12 : now.tm_hour % 12;
    switch (letter) {
    case 's': return Padded(now.tm_sec, count);
    case 'm': return Padded(now.tm_min, count);
    case 'h': return Padded(hour12, count);
    case 'H': return Padded(now.tm_hour, count);
    case 'a': return now.tm_hour >= 12 ? "pm" : "am";
    case 'A': return now.tm_hour >= 12 ? "PM" : "AM";
    case 'd': return Padded(now.tm_mday, count);
    case 'E': return Strftime(count >= 4 ? "%A" : "%a", now);
    case 'M': return count >= 4 ? Strftime("%B", now) : count == 3 ? Strftime("%b", now) : Padded(now.tm_mon + 1, count);
    case 'y': return count <= 2 ? Padded((now.tm_year + 1900) % 100, count) : std::to_string(now.tm_year + 1900);
    default: return std::nullopt;
    }
}

// The file name shown: the document's name, without its extension when asked.
PMString FileName(const Document& document, bool extension)
{
    std::u16string name = document.name.GetUTF16();
    size_t dot = name.rfind(u'.');
    if (!extension && dot != std::u16string::npos && dot > 0) name.resize(dot);
    return PMString(name);
}

PMString RunningHeader(const DataBase& db, const TextVariable& variable)
{
    const Document* document = db.GetDocument();
    if (!document || variable.paragraphStyle == kInvalidUID) return PMString();
    for (UID uid : document->stories) {
        const Story* story = db.Get<Story>(uid);
        if (!story) continue;
        const TextModel& model = story->textModel;
        TextRange own = model.GetThreadRange(0);
        PMString found;
        bool done = false;
        model.ForEachParagraph(own.start, own.End(), [&](int32 start, int32 length, const TextFormat& format) {
            if (done || format.style != variable.paragraphStyle) return;
            std::u16string text = model.GetText(start, length);
            while (!text.empty() && (text.back() == u'\r' || text.back() < 0x20)) text.pop_back();
            found = PMString(text);
            done = true;
        });
        if (done) return found;
    }
    return PMString();
}

// The paragraphs of `style` that the composed stories show, by page.
std::vector<VariableText::RunningHeaders::Shown> FindShown(const DataBase& db, const PageNumbering& numbering, UID style)
{
    std::vector<VariableText::RunningHeaders::Shown> shown;
    const Document* document = db.GetDocument();
    if (!document || style == kInvalidUID) return shown;
    std::unordered_map<UID, int32> pageOfFrame;
    for (UID uid : document->stories) {
        const Story* story = db.Get<Story>(uid);
        if (!story || !story->frameList.IsComposed()) continue;
        const TextModel& model = story->textModel;
        TextRange own = model.GetThreadRange(0);
        model.ForEachParagraph(own.start, own.End(), [&](int32 start, int32 length, const TextFormat& format) {
            if (format.style != style) return;
            const UID frame = story->frameList.FindFrameOfIndex(start);
            if (frame == kInvalidUID) return;
            auto it = pageOfFrame.find(frame);
            if (it == pageOfFrame.end()) it = pageOfFrame.emplace(frame, numbering.IndexOf(VariableText::PageOfFrame(db, frame))).first;
            if (it->second < 0) return;
            std::u16string text = model.GetText(start, length);
            while (!text.empty() && (text.back() == u'\r' || text.back() < 0x20)) text.pop_back();
            shown.push_back({it->second, std::move(text)});
        });
    }
    std::stable_sort(shown.begin(), shown.end(), [](const auto& a, const auto& b) { return a.page < b.page; });
    return shown;
}

// The running header of `variable` on page `target` (an index into the document's pages): the
// first or last paragraph of its style shown on it, else the last one shown on a page before
// it; false when none is shown on or before it.
bool RunningHeaderOnPage(const std::vector<VariableText::RunningHeaders::Shown>& shown, const TextVariable& variable, int32 target,
                         PMString& found)
{
    using Shown = VariableText::RunningHeaders::Shown;
    auto on = std::lower_bound(shown.begin(), shown.end(), target, [](const Shown& s, int32 page) { return s.page < page; });
    auto after = std::upper_bound(on, shown.end(), target, [](int32 page, const Shown& s) { return page < s.page; });
    const Shown* pick = nullptr;
    if (on != after) pick = variable.use != 0 ? &*(after - 1) : &*on;
    else if (on != shown.begin()) pick = &*(on - 1);
    if (!pick) return false;
    found = PMString(pick->text);
    return true;
}

} // namespace

namespace VariableText {

UID PageOfFrame(const DataBase& db, UID frameUID)
{
    const PageItem* frame = db.Get<PageItem>(frameUID);
    const Spread* spread = frame ? db.Get<Spread>(frame->spread) : nullptr;
    if (!spread || spread->pages.empty()) return kInvalidUID;
    const PMRect bounds = frame->GetBoundsInSpread();
    const PMReal x = (bounds.left + bounds.right) / 2;
    UID page = spread->pages.front();
    for (UID uid : spread->pages)
        if (const Page* candidate = db.Get<Page>(uid); candidate && x >= candidate->boundsInSpread.left && x <= candidate->boundsInSpread.right)
            page = uid;
    return page;
}

const std::vector<RunningHeaders::Shown>& RunningHeaders::Of(const DataBase& db, const PageNumbering& numbering, UID style)
{
    auto [it, added] = mStyles.try_emplace(style);
    if (added) it->second = FindShown(db, numbering, style);
    return it->second;
}

bool DependsOnPage(const TextVariable& variable)
{
    return variable.baseType == kLastPageNumberVariableType || variable.baseType == kRunningHeaderVariableType;
}

PMString GetValueOnPage(const DataBase& db, const TextVariable& variable, const std::tm& now, const VariablePage& where)
{
    if (!where.numbering || !DependsOnPage(variable)) return GetValue(db, variable, now);
    const PageNumbering& numbering = *where.numbering;
    PMString value;
    if (variable.baseType == kLastPageNumberVariableType) {
        const std::vector<UID>& pages = numbering.GetPages();
        if (pages.empty()) return GetValue(db, variable, now);
        UID last = pages.back();
        if (variable.scope != 1)
            if (const PageNumbering::Run* run = numbering.FindRun(where.page))
                last = pages[static_cast<size_t>(run->firstPage + run->length - 1)];
        value = numbering.GetPageName(last);
    } else {
        const int32 target = numbering.IndexOf(where.page);
        if (target < 0) return GetValue(db, variable, now);
        std::vector<RunningHeaders::Shown> own;
        const std::vector<RunningHeaders::Shown>& shown =
            where.headers ? where.headers->Of(db, numbering, variable.paragraphStyle)
                          : (own = FindShown(db, numbering, variable.paragraphStyle));
        if (!RunningHeaderOnPage(shown, variable, target, value)) return GetValue(db, variable, now);
    }
    PMString shown = variable.textBefore;
    shown.Append(value);
    shown.Append(variable.textAfter);
    return shown;
}

PMString GetInstanceValueOnPage(const DataBase& db, UID instance, const std::tm& now, const VariablePage& where)
{
    const TextVariableInstance* placed = db.Get<TextVariableInstance>(instance);
    const TextVariable* variable = placed ? db.Get<TextVariable>(placed->variable) : nullptr;
    return variable ? GetValueOnPage(db, *variable, now, where) : PMString();
}

std::tm Now()
{
    std::time_t clock = std::time(nullptr);
    std::tm now{};
    localtime_r(&clock, &now);
    return now;
}

PMString FormatDate(const PMString& pattern, const std::tm& now)
{
    const std::string text = pattern.GetUTF8String();
    std::string out;
    for (size_t i = 0; i < text.size();) {
        char c = text[i];
        if (c == '\'') {
            // Quoted literal text, '' for a quote.
            size_t end = text.find('\'', i + 1);
            if (end == i + 1) out += '\'';
            else out += text.substr(i + 1, (end == std::string::npos ? text.size() : end) - i - 1);
            i = end == std::string::npos ? text.size() : end + 1;
            continue;
        }
        size_t count = 1;
        while (i + count < text.size() && text[i + count] == c) ++count;
        if (std::optional<std::string> token = FormatToken(c, count, now)) out += *token;
        else out += text.substr(i, count);
        i += count;
    }
    return PMString(std::string_view(out));
}

PMString GetValue(const DataBase& db, const TextVariable& variable, const std::tm& now)
{
    const Document* document = db.GetDocument();
    PMString value;
    switch (variable.baseType) {
    case kCustomTextVariableType: value = variable.contents; break;
    case kFileNameVariableType: value = document ? FileName(*document, variable.includeExtension) : PMString(); break;
    case kLastPageNumberVariableType: value.AppendNumber(document ? document->GetPageCount() : 0); break;
    case kRunningHeaderVariableType: value = RunningHeader(db, variable); break;
    case kCurrentDateVariableType:
    case kModificationDateVariableType:
    case kCreationDateVariableType: value = FormatDate(variable.contents, now); break;
    default: break;
    }
    PMString shown = variable.textBefore;
    shown.Append(value);
    shown.Append(variable.textAfter);
    return shown;
}

void MaskAnchors(std::u16string& text)
{
    for (char16_t& c : text)
        if (c == kTextChar_TextVariable || IsCrossReferenceAnchor(c)) c = u'\u2060';
}

PMString GetInstanceValue(const DataBase& db, UID instance, const std::tm& now)
{
    const TextVariableInstance* placed = db.Get<TextVariableInstance>(instance);
    const TextVariable* variable = placed ? db.Get<TextVariable>(placed->variable) : nullptr;
    return variable ? GetValue(db, *variable, now) : PMString();
}

} // namespace VariableText
