#include "ParagraphNumbers.h"

#include <algorithm>

#include "DataBase.h"
#include "Document.h"
#include "PageNumbering.h"
#include "StyleUtils.h"
#include "TextModel.h"
#include "TextVariable.h"

namespace {

constexpr char16_t kBullet = u'\u2022';
const char16_t* const kDefaultExpression = u"^#.^t";

// A paragraph attribute: the paragraph's override, else its style's.
template <class T>
const T* Value(const DataBase& db, const TextFormat& paragraph, TextAttribute kind)
{
    if (const T* value = paragraph.overrides.Get<T>(kind)) return value;
    if (const AttributeValue* value = StyleUtils::GetInheritedAttribute(db, paragraph.style, kind)) return std::get_if<T>(value);
    return nullptr;
}

template <class T>
T ValueOr(const DataBase& db, const TextFormat& paragraph, TextAttribute kind, T fallback)
{
    const T* value = Value<T>(db, paragraph, kind);
    return value ? *value : fallback;
}

std::u16string Formatted(int32 number, int32 format)
{
    PageNumberStyle style = PageNumberStyle::kArabic;
    switch (format) {
    case kNumberingLowerRoman: style = PageNumberStyle::kLowerRoman; break;
    case kNumberingUpperRoman: style = PageNumberStyle::kUpperRoman; break;
    case kNumberingLowerLetters: style = PageNumberStyle::kLowerLetters; break;
    case kNumberingUpperLetters: style = PageNumberStyle::kUpperLetters; break;
    default: break;
    }
    return PageNumbering::FormatNumber(number, style).GetUTF16();
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\u00A0' || c == u'\u2002' || c == u'\u2003'; }

} // namespace

ParagraphNumbers::ParagraphNumbers(const DataBase& db, const TextModel& model) : mDB(db), mModel(model) {}

bool ParagraphNumbers::IsListed(const DataBase& db, const TextFormat& paragraph)
{
    const int32 type = ValueOr<int32>(db, paragraph, TextAttribute::kListType, 0);
    return type == 1 || type == 2;
}

PMString ParagraphNumbers::ChapterNumber(const DataBase& db)
{
    if (const Document* document = db.GetDocument())
        for (UID uid : document->textVariables)
            if (const TextVariable* variable = db.Get<TextVariable>(uid);
                variable && variable->name == PMString("<$chapnum>") && variable->baseType == kCustomTextVariableType)
                return variable->contents;
    return PMString("1");
}

std::u16string ParagraphNumbers::TextWithoutTabs(const Number& number)
{
    std::u16string text;
    for (char16_t c : number.text) {
        if (c == u'\t') {
            while (!text.empty() && IsSpace(text.back())) text.pop_back();
            if (!text.empty()) text.push_back(u' ');
            continue;
        }
        text.push_back(c);
    }
    while (!text.empty() && (IsSpace(text.back()) || text.back() == u' ')) text.pop_back();
    size_t first = 0;
    while (first < text.size() && IsSpace(text[first])) ++first;
    return text.substr(first);
}

std::u16string ParagraphNumbers::Expand(const std::u16string& expression, const Counters& counters, int32 level,
                                        std::u16string* numberOnly)
{
    std::u16string text;
    // Where the first number set starts and the last one ends: the number alone is what lies
    // between them ("1.2" of "Section 1.2:").
    size_t first = std::u16string::npos, last = 0;
    auto number = [&](const std::u16string& digits) {
        if (first == std::u16string::npos) first = text.size();
        text += digits;
        last = text.size();
    };
    for (size_t i = 0; i < expression.size(); ++i) {
        const char16_t c = expression[i];
        if (c != u'^' || i + 1 >= expression.size()) {
            text.push_back(c);
            continue;
        }
        const char16_t code = expression[++i];
        if (code >= u'1' && code <= u'9') {
            const Level& at = counters[static_cast<size_t>(code - u'0')];
            // A level above that has not counted yet shows its first number.
            number(Formatted(at.started ? at.count : 1, at.format));
        } else if (code == u'#') {
            number(Formatted(counters[static_cast<size_t>(level)].count, counters[static_cast<size_t>(level)].format));
        } else if (code == u'H') {
            if (!mChapterRead) {
                mChapter = ChapterNumber(mDB);
                mChapterRead = true;
            }
            number(mChapter.GetUTF16());
        } else if (code == u't' || code == u'y') {
            text.push_back(u'\t');
        } else if (code == u'B' || code == u'8') {
            text.push_back(kBullet);
        } else if (code == u'^') {
            text.push_back(u'^');
        } else if (code == u's' || code == u'S') {
            text.push_back(u'\u00A0');
        } else if (code == u'm') {
            text.push_back(u'\u2003');
        } else if (code == u'>') {
            text.push_back(u'\u2002');
        }
        // Any other code shows nothing.
    }
    if (numberOnly) *numberOnly = first == std::u16string::npos ? std::u16string() : text.substr(first, last - first);
    return text;
}

void ParagraphNumbers::Count(int32 start, const TextFormat& format, Number& out)
{
    (void)start;
    out = Number{};
    out.characterStyle = ValueOr<UID>(mDB, format, TextAttribute::kNumberingCharStyle, kInvalidUID);
    const int32 type = ValueOr<int32>(mDB, format, TextAttribute::kListType, 0);
    if (type == 1) {
        out.bullet = true;
        out.text = std::u16string(1, kBullet) + u"\t";
        return;
    }
    UID list = ValueOr<UID>(mDB, format, TextAttribute::kAppliedList, kInvalidUID);
    if (list == kInvalidUID) list = StyleUtils::GetDefaultList(mDB);
    Counters& counters = mLists[list];
    const int32 level = std::clamp(ValueOr<int32>(mDB, format, TextAttribute::kListLevel, 1), 1, 9);
    const int32* startAt = Value<int32>(mDB, format, TextAttribute::kNumberingStartAt);
    const bool continues = ValueOr<bool>(mDB, format, TextAttribute::kNumberingContinue, true);
    Level& own = counters[static_cast<size_t>(level)];
    if (!continues || !own.started) own.count = startAt ? *startAt : 1;
    else ++own.count;
    own.started = true;
    own.format = ValueOr<int32>(mDB, format, TextAttribute::kNumberingStyle, kNumberingArabic);
    if (own.format == kNumberingNone) own.format = kNumberingArabic;
    for (size_t below = static_cast<size_t>(level) + 1; below < counters.size(); ++below) counters[below].started = false;
    const PMString* expression = Value<PMString>(mDB, format, TextAttribute::kNumberingExpression);
    out.text = Expand(expression ? expression->GetUTF16() : std::u16string(kDefaultExpression), counters, level, &out.numberOnly);
}

const ParagraphNumbers::Number* ParagraphNumbers::Get(int32 index)
{
    if (index < 0 || index >= mModel.TotalLength()) return nullptr;
    const TextRange paragraph = mModel.GetParagraphRange(index);
    if (paragraph.start == mLastStart) return mLastListed ? &mLast : nullptr;
    const TextRange thread = mModel.GetThreadRange(paragraph.start);
    if (thread.start != mThreadStart || paragraph.start < mNext) {
        // Another thread, or one counted already: count again from the thread's start.
        mThreadStart = thread.start;
        mNext = thread.start;
        mLists.clear();
    }
    mLastStart = paragraph.start;
    mLastListed = false;
    const int32 to = std::min(paragraph.End(), thread.End());
    mModel.ForEachParagraph(mNext, to, [&](int32 start, int32 length, const TextFormat& format) {
        if (start < mNext) return;  // the paragraph counted before the walk stopped inside it
        mNext = start + length;
        if (!IsListed(mDB, format)) return;
        Count(start, format, mLast);
        mLastListed = start == paragraph.start;
    });
    mNext = std::max(mNext, to);
    return mLastListed ? &mLast : nullptr;
}
