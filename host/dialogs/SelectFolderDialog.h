// SelectFolderDialog: the host's dialog for choosing folders to work on.
#pragma once

#include <vector>

#include "IDFile.h"
#include "PMString.h"

class SelectFolderDialog {
public:
    // `title` is a string key or text: the prompt the user sees.
    explicit SelectFolderDialog(const PMString& title);
    // Shows the dialog; the folders chosen, none when cancelled. Answers that are not existing
    // folders are dropped.
    std::vector<IDFile> DoDialog() const;

private:
    PMString mTitle;
};
