// AppPresenter: shows the host's alerts and dialogs on the terminal: alerts and warnings on
// standard error; the warnings are also kept for a report file.
#pragma once

#include <string>

#include "CAlert.h"

class AppPresenter : public IUserPresenter {
public:
    void Alert(const PMString& text, bool warning) override;
    void Warnings(const PMString& text) override;
    void MissingFonts(const std::vector<PMString>& fonts) override;
    // Lists the stories whose text does not fit their frames, one line each.
    void OversetText(const std::vector<std::string>& stories);
    // The families no installed font serves, each with the one its text was measured with.
    void FallbackFonts(const std::vector<std::string>& families);
    // Lists what the preview could not draw, one line each.
    void PreviewProblems(const std::vector<std::string>& problems);

    // Everything shown in the warnings dialog and the missing-fonts list, with LF line ends.
    const std::string& GetReport() const { return mReport; }
    // Whether an alert has told the user something already.
    bool HasAlerted() const { return mAlerted; }

private:
    // Shows a heading and one indented line per entry, and keeps them in the report.
    void Section(const char* heading, const std::vector<std::string>& lines);

    std::string mReport;
    bool mAlerted = false;
};

// The text with CR LF and lone CR line ends as LF.
std::string ToUnixLines(const std::string& text);
