#include "PageNumbering.h"

#include <algorithm>
#include <map>

#include "DataBase.h"
#include "Document.h"
#include "Spread.h"

PageNumbering::PageNumbering(const DataBase& db)
{
    const Document* document = db.GetDocument();
    if (!document) return;
    for (UID uid : document->GetPages())
        if (db.Get<Page>(uid)) mPages.push_back(uid);
    if (mPages.empty()) return;
    for (size_t i = 0; i < mPages.size(); ++i) mPageIndex.emplace(mPages[i], static_cast<int32>(i));

    // Section starts by page index; the first section listed for a page wins.
    std::map<int32, const Section*> starts;
    for (UID uid : document->sections) {
        const Section* section = db.Get<Section>(uid);
        if (!section) continue;
        auto page = mPageIndex.find(section->startPage);
        if (page != mPageIndex.end()) starts.emplace(page->second, section);
    }
    if (starts.find(0) == starts.end()) mRuns.push_back(Run{});

    for (const auto& [first, section] : starts) {
        Run run;
        run.section = section->GetUID();
        run.firstPage = first;
        run.style = section->numberingStyle;
        if (section->continueNumbering)
            run.firstNumber = mRuns.empty() ? 1 : mRuns.back().firstNumber + (first - mRuns.back().firstPage);
        else
            run.firstNumber = section->pageNumberStart;
        run.firstNumber = std::clamp(run.firstNumber, 1, kMaxPageNumber);
        mRuns.push_back(run);
    }
    for (size_t i = 0; i < mRuns.size(); ++i) {
        int32 end = i + 1 < mRuns.size() ? mRuns[i + 1].firstPage : static_cast<int32>(mPages.size());
        mRuns[i].length = end - mRuns[i].firstPage;
    }
}

int32 PageNumbering::IndexOf(UID page) const
{
    auto found = mPageIndex.find(page);
    return found == mPageIndex.end() ? -1 : found->second;
}

const PageNumbering::Run* PageNumbering::FindRun(UID page) const
{
    int32 index = IndexOf(page);
    if (index < 0) return nullptr;
    // The last run that starts at or before the page.
    auto after = std::upper_bound(mRuns.begin(), mRuns.end(), index, [](int32 i, const Run& run) { return i < run.firstPage; });
    return after == mRuns.begin() ? nullptr : &*(after - 1);
}

PMString PageNumbering::GetPageName(UID page) const
{
    const Run* run = FindRun(page);
    if (!run) return PMString();
    return FormatNumber(run->firstNumber + (IndexOf(page) - run->firstPage), run->style);
}

namespace {

std::string Roman(int32 number)
{
    static const std::pair<int32, const char*> kDigits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
        {50, "l"},   {40, "xl"},  {10, "x"},  {9, "ix"},   {5, "v"},   {4, "iv"}, {1, "i"}};
    std::string text;
    for (const auto& [value, digits] : kDigits)
        for (; number >= value; number -= value) text += digits;
    return text;
}

// A, B, ..., Z, AA, AB, ...: bijective base 26.
std::string Letters(int32 number)
{
    std::string text;
    for (; number > 0; number = (number - 1) / 26) text.insert(text.begin(), static_cast<char>('a' + (number - 1) % 26));
    return text;
}

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

PMString PageNumbering::FormatNumber(int32 number, PageNumberStyle style)
{
    bool roman = style == PageNumberStyle::kUpperRoman || style == PageNumberStyle::kLowerRoman;
    bool letters = style == PageNumberStyle::kUpperLetters || style == PageNumberStyle::kLowerLetters;
    if (number < 1 || (roman && number > 3999) || (!roman && !letters)) return PMString(std::to_string(number));
    std::string text = roman ? Roman(number) : Letters(number);
    if (style == PageNumberStyle::kUpperRoman || style == PageNumberStyle::kUpperLetters) text = Upper(text);
    return PMString(text);
}

const char* PageNumbering::StyleName(PageNumberStyle style)
{
    switch (style) {
    case PageNumberStyle::kArabic: return "Arabic";
    case PageNumberStyle::kUpperRoman: return "UpperRoman";
    case PageNumberStyle::kLowerRoman: return "LowerRoman";
    case PageNumberStyle::kUpperLetters: return "UpperLetters";
    case PageNumberStyle::kLowerLetters: return "LowerLetters";
    }
    return "Arabic";
}
