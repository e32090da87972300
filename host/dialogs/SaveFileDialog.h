// SaveFileDialog: the host's dialog for choosing the file to write.
#pragma once

#include "IDFile.h"
#include "PMString.h"

class SaveFileDialog {
public:
    // `title` and `filterName` are string keys or texts; `extension` without the dot.
    SaveFileDialog(const PMString& title, const PMString& filterName, const PMString& extension);
    // Shows the dialog; false when cancelled. A chosen name without the extension gets it.
    bool DoDialog(IDFile& file) const;

private:
    PMString mTitle, mFilterName, mExtension;
};
