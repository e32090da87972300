// TerminalFileChooser: the host's file dialog and yes/no question on the terminal: the title or
// question on standard error, the answer read as one line of standard input. Used only when
// both are terminals, so that a conversion in a script never waits for an answer.
#pragma once

#include "FileChooser.h"

class TerminalFileChooser : public IFileChooser {
public:
    // Whether standard input and standard error are both terminals.
    static bool IsInteractive();
    // Asks for a file name; an empty line (or end of input) cancels.
    std::vector<IDFile> ChooseFiles(const PMString& title) override;
    // "y" or "yes" is yes, "n" or "no" no; anything else the default.
    bool AskYesNo(const PMString& question, bool defaultAnswer) override;
};
