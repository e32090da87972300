// OpenFileDialog: the host's dialog for choosing files to read.
#pragma once

#include <vector>

#include "IDFile.h"
#include "PMString.h"

class OpenFileDialog {
public:
    // `title` and `filterName` are string keys or texts; `extension` without the dot.
    OpenFileDialog(const PMString& title, const PMString& filterName, const PMString& extension,
                   bool several = false);
    // Shows the dialog; the files chosen, none when cancelled.
    std::vector<IDFile> DoDialog() const;

private:
    PMString mTitle, mFilterName, mExtension;
    bool mSeveral;
};
