// FileChooser: the host's file-open dialog and yes/no question, drawn by the application. Without
// a chooser (the application runs without a terminal, or a test) the dialog is cancelled and the
// question answered with its default.
#pragma once

#include <vector>

#include "IDFile.h"
#include "PMString.h"

class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // Shows a file-open dialog titled `title`; the files chosen (none when cancelled).
    virtual std::vector<IDFile> ChooseFiles(const PMString& title) = 0;
    // Asks `question`; true for yes.
    virtual bool AskYesNo(const PMString& question, bool defaultAnswer) = 0;
};

class FileChooser {
public:
    // The chooser the host uses from now on (not owned); null for none.
    static void SetChooser(IFileChooser* chooser);
    static IFileChooser* GetChooser();
    static std::vector<IDFile> ChooseFiles(const PMString& title);
    static bool AskYesNo(const PMString& question, bool defaultAnswer);

    // Folders where graphics named by imported files are looked for first, before the place the
    // file names; empty by default.
    static void SetGraphicSearchFolders(std::vector<IDFile> folders);
    static const std::vector<IDFile>& GetGraphicSearchFolders();
};
