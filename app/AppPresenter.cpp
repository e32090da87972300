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

void AppPresenter::Section(const char* heading, const std::vector<std::string>& lines)
{
    if (lines.empty()) return;
    std::string text = std::string(heading) + "\n";
    for (const std::string& line : lines) text += "  " + line + "\n";
    std::fputs(text.c_str(), stderr);
    mReport += text;
}

void AppPresenter::OversetText(const std::vector<std::string>& stories)
{
    Section("Overset text (stories whose text does not fit their frames):", stories);
}

void AppPresenter::FallbackFonts(const std::vector<std::string>& families)
{
    Section("Text in fonts this system lacks was composed with fontconfig's fallback:", families);
}

void AppPresenter::PreviewProblems(const std::vector<std::string>& problems)
{
    Section("Preview (what could not be drawn as it is):", problems);
}

void AppPresenter::MissingFonts(const std::vector<PMString>& fonts)
{
    std::vector<std::string> names;
    for (const PMString& font : fonts) names.push_back(font.GetUTF8String());
    Section("Fonts not installed on this system (InDesign will ask for them):", names);
}
