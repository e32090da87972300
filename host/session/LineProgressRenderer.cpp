#include "LineProgressRenderer.h"

#include <cstdio>

namespace {
// The text on one line of a tab-separated field: tabs and line ends become spaces.
std::string Field(const PMString& text)
{
    std::string field = text.GetUTF8String();
    for (char& c : field)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return field;
}
} // namespace

void LineProgressRenderer::Update(const PMString& title, const PMString& taskText, double fraction)
{
    std::string texts = Field(title) + "\t" + Field(taskText);
    auto now = std::chrono::steady_clock::now();
    bool textChanged = texts != mTexts;
    if (!textChanged && (fraction - mFraction < 0.01 || now - mLastLine < std::chrono::milliseconds(50))) return;
    std::fprintf(stderr, "tessel-progress\t%.3f\t%s\n", fraction < 0 ? 0.0 : fraction > 1 ? 1.0 : fraction, texts.c_str());
    std::fflush(stderr);
    mTexts = std::move(texts);
    mFraction = fraction;
    mLastLine = now;
}
