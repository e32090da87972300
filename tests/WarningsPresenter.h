// WarningsPresenter: keeps what the import's warnings dialog shows, line by line, so a test can
// ask for one whole warning line ("Line 12: ...") rather than a piece of one.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CAlert.h"

struct WarningsPresenter : IUserPresenter {
    void Alert(const PMString&, bool) override {}
    void Warnings(const PMString& shown) override
    {
        text += shown.GetUTF8String();
        text += "\r\n";
    }
    void MissingFonts(const std::vector<PMString>&) override {}

    // Every line shown so far, in order, without line ends or blank lines.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find_first_of("\r\n", start);
            if (end == std::string::npos) end = text.size();
            if (end > start) lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
    // Succeeds when one line shown reads exactly `line`; a failure lists what was shown.
    ::testing::AssertionResult HasLine(const std::string& line) const
    {
        const std::vector<std::string> lines = Lines();
        if (std::find(lines.begin(), lines.end(), line) != lines.end()) return ::testing::AssertionSuccess() << "shown: " << line;
        return ::testing::AssertionFailure() << "no warning line reads\n  " << line << "\nshown:\n" << text;
    }
    // True when some line shown holds `piece`: for checks that a kind of warning did not come.
    ::testing::AssertionResult Mentions(const std::string& piece) const
    {
        if (text.find(piece) == std::string::npos) return ::testing::AssertionFailure() << "no warning holds \"" << piece << "\"";
        return ::testing::AssertionSuccess() << "a warning holds \"" << piece << "\", shown:\n" << text;
    }
    void Clear() { text.clear(); }

    std::string text;
};

// "Line N: " for the line of `mif` that first holds `anchor`, as the warnings number it.
inline std::string WarningLineOf(const std::string& mif, const std::string& anchor)
{
    const size_t at = mif.find(anchor);
    if (at == std::string::npos) return "Line ?(" + anchor + " is not in the file): ";
    return "Line " + std::to_string(1 + std::count(mif.begin(), mif.begin() + static_cast<std::ptrdiff_t>(at), '\n')) + ": ";
}
