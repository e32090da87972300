// AppPresenter: shows the host's alerts and dialogs on the terminal: alerts and warnings on
// standard error; the warnings are also kept for a report file.
#pragma once

#include <string>

#include "CAlert.h"

class AppPresenter : public IUserPresenter {
public:
    void Alert(const PMString& text, bool warning) override;
    void Warnings(const PMString& text) override;
    // Keeps the families the document names that this system lacks, for Fonts to show.
    void MissingFonts(const std::vector<PMString>& fonts) override;
    // Lists the stories whose text does not fit their frames, one line each.
    void OversetText(const std::vector<std::string>& stories);
    // Shows the fonts part of the report, each list under its own heading when it has lines:
    // the families the package names that this system lacks (as MissingFonts kept them), the
    // faces that stood in for them (`standIns`), the characters no installed font can draw.
    void Fonts(const std::vector<std::string>& standIns, const std::vector<std::string>& undrawable);
    // Lists what the preview could not draw, one line each.
    void PreviewProblems(const std::vector<std::string>& problems);

    // Everything shown in the warnings dialog and the missing-fonts list, with LF line ends.
    const std::string& GetReport() const { return mReport; }
    // The lines of the warnings shown.
    int GetWarningCount() const { return mWarningCount; }
    // The families the document names that this system lacks.
    const std::vector<std::string>& GetMissingFonts() const { return mMissingFonts; }
    // Whether an alert has told the user something already.
    bool HasAlerted() const { return mAlerted; }

private:
    // Shows a heading and one indented line per entry, and keeps them in the report.
    void Section(const char* heading, const std::vector<std::string>& lines);

    std::string mReport;
    std::vector<std::string> mMissingFonts;
    bool mAlerted = false;
    int mWarningCount = 0;
};

// The text with CR LF and lone CR line ends as LF.
std::string ToUnixLines(const std::string& text);
