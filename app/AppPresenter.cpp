#include "AppPresenter.h"

#include <cstdio>

std::string ToUnixLines(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

void AppPresenter::Alert(const PMString& text, bool warning)
{
    mAlerted = true;
    std::fprintf(stderr, "tessel: %s%s\n", warning ? "warning: " : "", ToUnixLines(text.GetUTF8String()).c_str());
}

void AppPresenter::Warnings(const PMString& text)
{
    std::string lines = ToUnixLines(text.GetUTF8String());
    if (!lines.empty() && lines.back() != '\n') lines.push_back('\n');
    std::fputs(lines.c_str(), stderr);
    mReport += lines;
}

void AppPresenter::OversetText(const std::vector<std::string>& stories)
{
    if (stories.empty()) return;
    std::string text = "Overset text (stories whose text does not fit their frames):\n";
    for (const std::string& story : stories) text += "  " + story + "\n";
    std::fputs(text.c_str(), stderr);
    mReport += text;
}

void AppPresenter::PreviewProblems(const std::vector<std::string>& problems)
{
    if (problems.empty()) return;
    std::string text = "Preview (what could not be drawn as it is):\n";
    for (const std::string& problem : problems) text += "  " + problem + "\n";
    std::fputs(text.c_str(), stderr);
    mReport += text;
}

void AppPresenter::MissingFonts(const std::vector<PMString>& fonts)
{
    std::string text = "Fonts not installed on this system (InDesign will ask for them):\n";
    for (const PMString& font : fonts) text += "  " + font.GetUTF8String() + "\n";
    std::fputs(text.c_str(), stderr);
    mReport += text;
}
