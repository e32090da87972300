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
    for (size_t start = 0, end; start < lines.size(); start = end + 1) {
        end = lines.find('\n', start);
        if (end > start) ++mWarningCount;
    }
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

void AppPresenter::Fonts(const std::vector<std::string>& standIns, const std::vector<std::string>& undrawable)
{
    Section("Font families the package names that this system lacks (InDesign will ask for them where they are not installed):",
            mMissingFonts);
    Section("Stand-ins this system composed and drew the text with:", standIns);
    Section("Characters no installed font can draw (empty boxes in the preview):", undrawable);
}

void AppPresenter::PreviewProblems(const std::vector<std::string>& problems)
{
    Section("Preview (what could not be drawn as it is):", problems);
}

void AppPresenter::MissingFonts(const std::vector<PMString>& fonts)
{
    mMissingFonts.clear();
    for (const PMString& font : fonts) mMissingFonts.push_back(font.GetUTF8String());
}
